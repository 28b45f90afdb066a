#include "platform/Accessibility.h"

#include "platform/AccessibleLineEdit.h"
#include "platform/AtspiNameEvents.h"
#include "platform/PictureBox.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace {

// Kept as a child of the control whose name it composes, so that it lives as long as the
// control does.
class NameComposer final : public QObject {
public:
    NameComposer(QObject *control, std::function<QString()> compose)
        : QObject(control), m_compose(std::move(compose))
    {
    }
    QString name() const { return m_compose(); }

private:
    std::function<QString()> m_compose;
};

NameComposer *composerOf(const QObject *control)
{
    for (QObject *child : control->children())
        if (auto *composer = dynamic_cast<NameComposer *>(child))
            return composer;
    return nullptr;
}

// A label or picture box as a screen reader sees it; its name comes from the composer when it
// has one, otherwise from the accessible name it was given.
class ComposedName final : public QAccessibleWidget {
public:
    ComposedName(QWidget *control, QAccessible::Role role) : QAccessibleWidget(control, role) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (const NameComposer *composer = composerOf(widget()))
                return composer->name();
        }
        return QAccessibleWidget::text(t);
    }
};

// The application as a screen reader names it: by its readable name, not by the stylised title
// its windows show.
class ReadableApplication final : public QAccessibleApplication {
public:
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? Accessibility::ReadableApplicationName : QAccessibleApplication::text(t);
    }
};

QAccessibleInterface *composedNameFactory(const QString &, QObject *object)
{
    if (object == qApp)
        return new ReadableApplication;
    if (auto *box = qobject_cast<QLineEdit *>(object))
        return new AccessibleLineEdit(box);
    if (auto *box = qobject_cast<PictureBox *>(object))
        return new ComposedName(box, QAccessible::Graphic);
    if (auto *label = qobject_cast<QLabel *>(object); label && composerOf(label))
        return new ComposedName(label, QAccessible::StaticText);
    return nullptr;
}

// Adds the composer to `control`. An interface that a screen reader may already hold for the
// control (a label announces its text as soon as it is set) is replaced by one that composes.
void addComposer(QWidget *control, std::function<QString()> compose)
{
    // A later composer takes the place of an earlier one.
    delete composerOf(control);
    new NameComposer(control, std::move(compose));
    if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        iface && !dynamic_cast<ComposedName *>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    QAccessibleEvent changed(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

QString masked(const QString &text)
{
    return QString(text.size(), QLatin1Char('*'));
}

QAccessible::UpdateHandler nextHandler = nullptr;

// Hands `event` on to the screen reader, as Qt would without a handler of ours.
void forward(QAccessibleEvent *event)
{
    if (nextHandler) {
        nextHandler(event);
        return;
    }
    const QAccessible::UpdateHandler ours = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(ours);
}

// The control whose focus the screen reader was last told of.
QPointer<QObject> announcedFocus;

// What text boxes tell a screen reader, corrected on the way. A password box reports every
// change of its text with the real characters, which a screen reader would speak aloud. A box
// selects its text as Tab enters it, before the screen reader hears of the focus, and drops the
// selection as the focus leaves, before the screen reader hears of the next control: either
// would be read out on top of the focus ("selected", "text unselected"), so a selection change
// counts only on the box that has the focus and whose focus was announced.
void screenReaderUpdate(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::Focus)
        announcedFocus = event->object();
    auto *box = qobject_cast<QLineEdit *>(event->object());
    if (!box) {
        forward(event);
        AtspiNameEvents::repeatWithText(event);
        return;
    }
    if (event->type() == QAccessible::TextSelectionChanged && (!box->hasFocus() || announcedFocus != box))
        return;
    if (box->echoMode() == QLineEdit::Normal) {
        forward(event);
        return;
    }
    switch (event->type()) {
    case QAccessible::TextInserted: {
        const auto *change = static_cast<QAccessibleTextInsertEvent *>(event);
        QAccessibleTextInsertEvent shown(box, change->changePosition(), masked(change->textInserted()));
        shown.setCursorPosition(change->cursorPosition());
        forward(&shown);
        return;
    }
    case QAccessible::TextRemoved: {
        const auto *change = static_cast<QAccessibleTextRemoveEvent *>(event);
        QAccessibleTextRemoveEvent shown(box, change->changePosition(), masked(change->textRemoved()));
        shown.setCursorPosition(change->cursorPosition());
        forward(&shown);
        return;
    }
    case QAccessible::TextUpdated: {
        const auto *change = static_cast<QAccessibleTextUpdateEvent *>(event);
        QAccessibleTextUpdateEvent shown(box, change->changePosition(), masked(change->textRemoved()),
                                         masked(change->textInserted()));
        shown.setCursorPosition(change->cursorPosition());
        forward(&shown);
        return;
    }
    default:
        forward(event);
        AtspiNameEvents::repeatWithText(event);
    }
}

} // namespace

namespace Accessibility {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(composedNameFactory);
        nextHandler = QAccessible::installUpdateHandler(screenReaderUpdate);
        return true;
    }();
    Q_UNUSED(installed);
}

QString readableTitle(const QString &caption)
{
    // Every caption that names the game starts with the title, spelt in one stylised way or
    // another ("0RB1T4 & CR1ST4L", "ÓRB174 & CR157AL", ...), and goes on after "JORNADA DO SABER".
    static const QString end = QStringLiteral(": JORNADA DO SABER");
    const qsizetype at = caption.indexOf(end);
    if (at < 0 || !caption.left(at).contains(QLatin1Char('&')))
        return caption;
    return ReadableApplicationName + caption.mid(at + end.size());
}

void nameWindow(QWidget *window)
{
    window->setAccessibleName(readableTitle(window->windowTitle()));
}

void describe(QWidget *control, const QString &name, const QString &description)
{
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

void nameFromText(QLabel *label, std::function<QString(const QString &text)> compose)
{
    install();
    addComposer(label, [label, compose = std::move(compose)] { return compose(label->text()); });
}

void nameFromContent(PictureBox *box, std::function<QString()> compose)
{
    // A picture box installed the factory when it was made.
    addComposer(box, std::move(compose));
}

} // namespace Accessibility
