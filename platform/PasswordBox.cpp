#include "platform/PasswordBox.h"

#include <QAccessible>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
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

// Watches one box for the moments it stops taking characters.
class PasswordLimit final : public QObject {
public:
    PasswordLimit(QLineEdit *box, QLabel *sign)
        : QObject(box), m_box(box), m_sign(sign), m_description(box->accessibleDescription())
    {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this](const QString &text) {
            const bool full = text.size() >= m_box->maxLength();
            if (full != m_full) {
                m_full = full;
                if (full)
                    tell();
                else
                    m_box->setAccessibleDescription(m_description);
            }
            showSign();
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool typesText = !key->text().isEmpty() && key->text().at(0).isPrint()
                                   && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            if (typesText && m_full && !m_box->hasSelectedText())
                tell();
            break;
        }
        case QEvent::FocusIn:
            showSign();
            break;
        case QEvent::FocusOut: {
            // Another box of the window, if full, shows the sign again as it takes the focus.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_sign->hide();
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The sign follows the box that holds the window's focus, also while the window itself is
    // not active (a message box on top, the window closed with the box full).
    void showSign()
    {
        if (m_box->window()->focusWidget() == m_box)
            m_sign->setVisible(m_full);
    }

    void tell()
    {
        m_box->setAccessibleDescription(m_sign->text());
        // Said again on every refused key, not only when the text changes.
        QAccessibleEvent changed(m_box, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }

    QLineEdit *m_box;
    QLabel *m_sign;
    QString m_description;
    bool m_full = false;
};

} // namespace

void maskAsPassword(QLineEdit *box)
{
    auto *style = new AsteriskStyle;
    style->setParent(box); // a widget does not own the style it is given
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
}

void limitPassword(QLineEdit *box, int maxLength, QLabel *sign)
{
    box->setMaxLength(maxLength);
    sign->setText(QStringLiteral("No máximo %1 caracteres.").arg(maxLength));
    sign->hide();
    new PasswordLimit(box, sign);
}

QLabel *passwordLimitSign(QWidget *parent)
{
    auto *sign = new QLabel(parent);
    sign->setObjectName(QStringLiteral("LblLimiteSenha"));
    sign->setAlignment(Qt::AlignCenter);
    sign->setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold; font-size: 11px;"));
    return sign;
}
