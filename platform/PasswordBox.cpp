#include "platform/PasswordBox.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

// The application's style, but for the character that masks a password.
class AsteriskStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void maskAsPassword(QLineEdit *box)
{
    auto *style = new AsteriskStyle;
    style->setParent(box); // a widget does not own the style it is given
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
}
