#pragma once
// Accessible names made from what a control shows. A screen reader asks a control for its name
// when the control takes the focus and whenever the control announces a change. A value that
// needs its caption to be understood ("Certas: 12", "Pergunta 3 de 20") gets a name composed
// from the control's current content each time it is asked, so the name can never go stale.
#include <QString>
#include <functional>

class PictureBox;
class QLabel;
class QWidget;

namespace Accessibility {

// The game's name as a voice should read it; the captions spell it in digits and capitals.
inline const QString ReadableApplicationName = QStringLiteral("Órbita e Cristal: Jornada do Saber");

// Lets screen readers see picture boxes as pictures, text boxes through AccessibleLineEdit, the
// application by its readable name, and ask for composed names; idempotent. Call it once the
// application object exists, before the first window shows.
void install();

// `caption` with the game's stylised title replaced by its readable name.
QString readableTitle(const QString &caption);
// Gives `window` the readable form of its caption as its accessible name; call it after setting
// the caption.
void nameWindow(QWidget *window);

// Gives `control` a fixed accessible name and, when the name alone does not say what the control
// does or holds, a description.
void describe(QWidget *control, const QString &name, const QString &description = QString());

// The accessible name of `label` becomes compose(its text). QLabel::setText already tells
// screen readers that the name changed.
void nameFromText(QLabel *label, std::function<QString(const QString &text)> compose);

// The accessible name of `box` becomes compose(). A picture box tells screen readers that its
// name changed whenever its picture changes.
void nameFromContent(PictureBox *box, std::function<QString()> compose);

} // namespace Accessibility
