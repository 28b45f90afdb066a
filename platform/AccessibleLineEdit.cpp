#include "platform/AccessibleLineEdit.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QValidator>
#include <algorithm>
#include <vector>

namespace {

// The offsets where spans of `boundary` begin and end in `text`, first 0 and last its length.
std::vector<int> spanEdges(const QString &text, QAccessible::TextBoundaryType boundary)
{
    const int length = int(text.size());
    std::vector<int> edges{0};
    QTextBoundaryFinder::BoundaryType type;
    switch (boundary) {
    case QAccessible::CharBoundary:
        type = QTextBoundaryFinder::Grapheme;
        break;
    case QAccessible::WordBoundary:
        type = QTextBoundaryFinder::Word;
        break;
    case QAccessible::SentenceBoundary:
        type = QTextBoundaryFinder::Sentence;
        break;
    default: // a line, a paragraph or no boundary: the box holds one line
        if (length > 0)
            edges.push_back(length);
        return edges;
    }
    QTextBoundaryFinder finder(type, text);
    // Only forward, and only while inside the text: this finder answers -1 past the end, which a
    // loop that waits for the length never sees.
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at <= length; at = finder.toNextBoundary()) {
        // A word boundary that starts or ends no word (inside a run of punctuation) splits nothing.
        if (type == QTextBoundaryFinder::Word && at < length &&
            !(finder.boundaryReasons() & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem)))
            continue;
        edges.push_back(int(at));
    }
    if (edges.back() != length)
        edges.push_back(length);
    return edges;
}

// Qt's line edits draw the cursor where this protected call says; reached through a pointer
// to member, which a derived class may name.
struct CursorRectOf : QLineEdit {
    static QRect of(const QLineEdit *box)
    {
        return (box->*(&CursorRectOf::cursorRect))();
    }
};

} // namespace

TextSpan textSpanAt(const QString &text, int offset, QAccessible::TextBoundaryType boundary)
{
    const int length = int(text.size());
    if (offset < 0 || offset > length)
        return {};
    if (offset == length) {
        if (boundary == QAccessible::CharBoundary || length == 0)
            return {length, length};
        offset = length - 1; // the span that ends the text
    }
    const std::vector<int> edges = spanEdges(text, boundary);
    const auto after = std::upper_bound(edges.begin(), edges.end(), offset);
    return {*(after - 1), *after};
}

AccessibleLineEdit::AccessibleLineEdit(QLineEdit *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

QLineEdit *AccessibleLineEdit::box() const
{
    return static_cast<QLineEdit *>(widget());
}

void *AccessibleLineEdit::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString AccessibleLineEdit::shownText() const
{
    switch (box()->echoMode()) {
    case QLineEdit::Normal:
        return box()->text();
    case QLineEdit::NoEcho:
        return QString();
    default:
        return QString(box()->text().size(), QLatin1Char('*'));
    }
}

QString AccessibleLineEdit::text(QAccessible::Text t) const
{
    QString value;
    if (t == QAccessible::Value)
        value = shownText();
    if (value.isEmpty())
        value = QAccessibleWidget::text(t);
    if (value.isEmpty() && t == QAccessible::Description)
        value = box()->placeholderText();
    return value;
}

void AccessibleLineEdit::setTextIfValid(const QString &text)
{
    if (box()->isReadOnly())
        return;
    QString candidate = text;
    int position = 0;
    if (const QValidator *validator = box()->validator();
        validator && validator->validate(candidate, position) != QValidator::Acceptable)
        return;
    box()->setText(candidate); // cut at the box's length, as typing would be
}

void AccessibleLineEdit::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value)
        setTextIfValid(text);
    else
        QAccessibleWidget::setText(t, text);
}

QAccessible::State AccessibleLineEdit::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (box()->isReadOnly())
        s.readOnly = true;
    else
        s.editable = true;
    if (box()->echoMode() != QLineEdit::Normal)
        s.passwordEdit = true;
    s.selectableText = true;
    return s;
}

void AccessibleLineEdit::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !box()->hasSelectedText())
        return;
    *startOffset = box()->selectionStart();
    *endOffset = box()->selectionEnd();
}

int AccessibleLineEdit::selectionCount() const
{
    return box()->hasSelectedText() ? 1 : 0;
}

void AccessibleLineEdit::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void AccessibleLineEdit::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        box()->deselect();
}

void AccessibleLineEdit::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box()->setSelection(startOffset, endOffset - startOffset);
}

int AccessibleLineEdit::cursorPosition() const
{
    return box()->cursorPosition();
}

void AccessibleLineEdit::setCursorPosition(int position)
{
    box()->setCursorPosition(position);
}

QString AccessibleLineEdit::text(int startOffset, int endOffset) const
{
    const QString shown = shownText();
    endOffset = endOffset < 0 ? int(shown.size()) : std::min(endOffset, int(shown.size()));
    if (startOffset < 0 || startOffset > endOffset)
        return QString();
    return shown.mid(startOffset, endOffset - startOffset);
}

int AccessibleLineEdit::resolved(int offset) const
{
    if (offset == -2)
        return box()->cursorPosition();
    if (offset == -1)
        return int(shownText().size());
    return offset;
}

QString AccessibleLineEdit::spanText(TextSpan span, int *startOffset, int *endOffset) const
{
    *startOffset = span.start;
    *endOffset = span.end;
    return span.start < 0 ? QString() : shownText().mid(span.start, span.end - span.start);
}

QString AccessibleLineEdit::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                         int *endOffset) const
{
    return spanText(textSpanAt(shownText(), resolved(offset), boundaryType), startOffset, endOffset);
}

QString AccessibleLineEdit::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset, int *endOffset) const
{
    const QString shown = shownText();
    const TextSpan at = textSpanAt(shown, resolved(offset), boundaryType);
    const TextSpan before = at.start > 0 ? textSpanAt(shown, at.start - 1, boundaryType) : TextSpan{};
    return spanText(before, startOffset, endOffset);
}

QString AccessibleLineEdit::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset, int *endOffset) const
{
    const QString shown = shownText();
    const TextSpan at = textSpanAt(shown, resolved(offset), boundaryType);
    const TextSpan after =
        at.start >= 0 && at.end < shown.size() ? textSpanAt(shown, at.end, boundaryType) : TextSpan{};
    return spanText(after, startOffset, endOffset);
}

int AccessibleLineEdit::characterCount() const
{
    return int(shownText().size());
}

QRect AccessibleLineEdit::characterRect(int offset) const
{
    const QString shown = shownText();
    if (offset < 0 || offset >= shown.size())
        return QRect();
    // The cursor's rectangle is where Qt draws; a character lies as far from it as the text
    // between them is wide.
    const QFontMetrics metrics(box()->font());
    const int cursor = std::min(box()->cursorPosition(), int(shown.size()));
    const QRect cursorRect = CursorRectOf::of(box());
    const int x = cursorRect.center().x() + metrics.horizontalAdvance(shown.left(offset)) -
                  metrics.horizontalAdvance(shown.left(cursor));
    const QRect local(x, cursorRect.top(), metrics.horizontalAdvance(shown.mid(offset, 1)), cursorRect.height());
    return QRect(box()->mapToGlobal(local.topLeft()), local.size());
}

int AccessibleLineEdit::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = box()->mapFromGlobal(point);
    return box()->rect().contains(local) ? box()->cursorPositionAt(local) : -1;
}

void AccessibleLineEdit::scrollToSubstring(int startIndex, int endIndex)
{
    // The box scrolls to keep its cursor in sight.
    box()->setCursorPosition(endIndex);
    box()->setCursorPosition(startIndex);
}

QString AccessibleLineEdit::attributes(int offset, int *startOffset, int *endOffset) const
{
    // The whole text is one run without attributes of its own.
    const int length = characterCount();
    if (offset == -2)
        offset = box()->cursorPosition();
    if (offset < 0 || offset > length) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    *startOffset = 0;
    *endOffset = length;
    return QString();
}

void AccessibleLineEdit::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void AccessibleLineEdit::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void AccessibleLineEdit::replaceText(int startOffset, int endOffset, const QString &text)
{
    QString changed = box()->text();
    startOffset = std::clamp(startOffset, 0, int(changed.size()));
    endOffset = std::clamp(endOffset, startOffset, int(changed.size()));
    setTextIfValid(changed.replace(startOffset, endOffset - startOffset, text));
}
