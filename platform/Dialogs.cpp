#include "platform/Dialogs.h"

#include "platform/Accessibility.h"
#include "platform/PicturePreviewDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>

namespace {

QWidget *activeParent()
{
    return QApplication::activeWindow();
}

// The width a dialog needs for its whole title in the title bar, whose font the window manager
// chooses and is usually larger than the dialog's own.
int titleWidth(const QWidget &dialog, const QString &title)
{
    return dialog.fontMetrics().horizontalAdvance(title) * 4 / 3 + 90;
}

bool messageBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                QMessageBox::StandardButtons buttons, const QImage *picture = nullptr)
{
    QMessageBox box(icon, title, text, buttons, activeParent());
    Accessibility::nameWindow(&box);
    if (picture)
        box.setIconPixmap(QPixmap::fromImage(*picture));
    // A message box sizes itself to its text; widen it so that its title bar shows the whole
    // title, which is the game's name.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        grid->addItem(new QSpacerItem(titleWidth(box, title), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (buttons & QMessageBox::No)
        box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes || !(buttons & QMessageBox::No);
}

// Qt's own dialogs, as the player sees them.
class QtDialogs final : public DialogBackend {
public:
    bool show(Kind kind, const QString &title, const QString &text, int maxLength,
              QWidget *parent, QString &answer) override
    {
        switch (kind) {
        case Kind::Inform:
            return messageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
        case Kind::Warn:
            return messageBox(QMessageBox::Warning, title, text, QMessageBox::Ok);
        case Kind::Error:
            return messageBox(QMessageBox::Critical, title, text, QMessageBox::Ok);
        case Kind::Confirm:
            return messageBox(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
        case Kind::ConfirmPlain:
        case Kind::ConfirmPicture:
            return messageBox(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No);
        case Kind::Prompt: {
            QInputDialog dialog(parent ? parent : activeParent());
            dialog.setWindowTitle(title);
            Accessibility::nameWindow(&dialog);
            dialog.setLabelText(text);
            dialog.setInputMode(QInputDialog::TextInput);
            if (auto *edit = dialog.findChild<QLineEdit *>()) {
                edit->setMaxLength(maxLength);
                // The dialog takes its width from its box: wide enough for the whole title.
                edit->setMinimumWidth(titleWidth(dialog, title) - 40);
            }
            const bool ok = dialog.exec() == QDialog::Accepted;
            answer = ok ? dialog.textValue() : QString();
            return ok;
        }
        case Kind::ChoosePicture:
            answer = choosePictureFile(parent ? parent : activeParent());
            return !answer.isEmpty();
        }
        return false;
    }

    bool showWithPicture(const QString &title, const QString &text, const QImage &picture) override
    {
        return messageBox(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, &picture);
    }
};

std::unique_ptr<DialogBackend> &backend()
{
    static std::unique_ptr<DialogBackend> current = std::make_unique<QtDialogs>();
    return current;
}

bool ask(DialogBackend::Kind kind, const QString &title, const QString &text, int maxLength = 0,
         QWidget *parent = nullptr)
{
    QString unused;
    return backend()->show(kind, title, text, maxLength, parent, unused);
}

} // namespace

std::unique_ptr<DialogBackend> setDialogBackend(std::unique_ptr<DialogBackend> replacement)
{
    if (!replacement)
        replacement = std::make_unique<QtDialogs>();
    std::swap(backend(), replacement);
    return replacement;
}

namespace Dialogs {

void inform(const QString &text, const QString &title) { ask(DialogBackend::Kind::Inform, title, text); }
void warn(const QString &text, const QString &title) { ask(DialogBackend::Kind::Warn, title, text); }
void error(const QString &text) { ask(DialogBackend::Kind::Error, ApplicationTitle, text); }

bool confirm(const QString &text, const QString &title)
{
    return ask(DialogBackend::Kind::Confirm, title, text);
}

bool confirmPlain(const QString &text, const QString &title)
{
    return ask(DialogBackend::Kind::ConfirmPlain, title, text);
}

bool confirmPicture(const QString &text, const QImage &picture, const QString &title)
{
    return backend()->showWithPicture(title, text, picture);
}

QString prompt(const QString &title, const QString &label, int maxLength)
{
    QString answer;
    if (!backend()->show(DialogBackend::Kind::Prompt, title, label, maxLength, nullptr, answer))
        return QString();
    return answer;
}

QString choosePicture(QWidget *parent)
{
    QString answer;
    if (!backend()->show(DialogBackend::Kind::ChoosePicture, QString(), QString(), 0, parent, answer))
        return QString();
    return answer;
}

} // namespace Dialogs
