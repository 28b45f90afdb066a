#include "platform/RadioGroup.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

class WrapAround final : public QObject {
public:
    WrapAround(const QList<QAbstractButton *> &buttons, QObject *parent) : QObject(parent), m_buttons(buttons)
    {
        for (QAbstractButton *button : buttons)
            button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || m_buttons.size() < 2)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto *from = static_cast<QAbstractButton *>(watched);
        QAbstractButton *to = nullptr;
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Right) && from == m_buttons.last())
            to = firstEnabled(m_buttons.begin(), m_buttons.end());
        else if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Left) && from == m_buttons.first())
            to = firstEnabled(m_buttons.rbegin(), m_buttons.rend());
        if (!to || to == from)
            return false;
        if (from->isChecked() && to->isCheckable())
            to->click();
        to->setFocus(Qt::OtherFocusReason);
        return true;
    }

private:
    template <typename It> static QAbstractButton *firstEnabled(It begin, It end)
    {
        for (It it = begin; it != end; ++it)
            if ((*it)->isEnabled() && (*it)->isVisible())
                return *it;
        return nullptr;
    }

    QList<QAbstractButton *> m_buttons;
};

} // namespace

namespace RadioGroup {

void wrapArrowKeys(const QList<QAbstractButton *> &buttons)
{
    if (!buttons.isEmpty())
        new WrapAround(buttons, buttons.first());
}

void enterAtFirst(const QList<QAbstractButton *> &buttons)
{
    for (QAbstractButton *button : buttons)
        button->setFocusPolicy(button == buttons.first() ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace RadioGroup
