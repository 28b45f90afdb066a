#pragma once
// A one-line text box as a screen reader sees it. Qt's own interface for these boxes never
// returns from a request for the word or sentence at the end of the text (the request a screen
// reader makes on Ctrl+Left), and reports text attribute runs of length zero, by which a screen
// reader trims the last character off what it reads. This one answers every request at every
// offset and boundary, and keeps a password box masked.
#include <QAccessible>
#include <QAccessibleWidget>

class QLineEdit;

// The span [start, end) of `text` that `boundary` puts around `offset`, as a screen reader asks
// for it: the character, the word or the gap between two words, the sentence, or the whole line.
// At the end of the text a character request gets the empty span there; any other request gets
// the last span. Offsets outside the text give {-1, -1}.
struct TextSpan {
    int start = -1;
    int end = -1;
    bool operator==(const TextSpan &) const = default;
};
TextSpan textSpanAt(const QString &text, int offset, QAccessible::TextBoundaryType boundary);

class AccessibleLineEdit final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
public:
    explicit AccessibleLineEdit(QLineEdit *box);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    QLineEdit *box() const;
    // What the box shows: its text, or a '*' for each character of a password.
    QString shownText() const;
    int resolved(int offset) const; // -2 is the cursor, -1 the end
    QString spanText(TextSpan span, int *startOffset, int *endOffset) const;
    void setTextIfValid(const QString &text);
};
