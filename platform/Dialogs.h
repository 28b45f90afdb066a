#pragma once
// The dialogs that screens show. Screens never call QMessageBox directly: they call these
// functions, which a test can answer from a script (see DialogBackend).
#include <QString>
#include <memory>

class QImage;
class QWidget;

// The application title: the caption of the error box and of most message boxes.
inline const QString ApplicationTitle = QStringLiteral("0RB174 & CR157AL: JORNADA DO SABER");

namespace Dialogs {

void inform(const QString &text, const QString &title = ApplicationTitle);      // OK, no icon
void warn(const QString &text, const QString &title = ApplicationTitle);        // OK, warning icon
bool confirm(const QString &text, const QString &title = ApplicationTitle);     // Yes/No, question icon
bool confirmPlain(const QString &text, const QString &title = ApplicationTitle); // Yes/No, no icon
// Yes/No, with `picture` shown beside the text in place of an icon.
bool confirmPicture(const QString &text, const QImage &picture, const QString &title = ApplicationTitle);
// A one-line text prompt with OK and Cancel. Cancel gives the empty text.
QString prompt(const QString &title, const QString &label, int maxLength);
// The picture file dialog with a preview. Cancel gives the empty text.
QString choosePicture(QWidget *parent);
// The standard error box: the error's text, the application title, an error icon and OK.
void error(const QString &text);

} // namespace Dialogs

// What actually shows the dialogs. Production uses Qt's own; tests install a scripted one.
class DialogBackend {
public:
    enum class Kind { Inform, Warn, Confirm, ConfirmPlain, ConfirmPicture, Prompt, ChoosePicture, Error };
    virtual ~DialogBackend() = default;
    // Returns true for OK/Yes, false for No/Cancel; `answer` carries the text of a prompt or
    // the chosen path.
    virtual bool show(Kind kind, const QString &title, const QString &text, int maxLength,
                      QWidget *parent, QString &answer) = 0;
    // Kind::ConfirmPicture: a question beside a picture; true for Yes.
    virtual bool showWithPicture(const QString &title, const QString &text, const QImage &picture) = 0;
};

// Replaces the backend for the rest of the process (or until replaced again); returns the old
// one. Passing nullptr restores Qt's own dialogs.
std::unique_ptr<DialogBackend> setDialogBackend(std::unique_ptr<DialogBackend> backend);
