#include "platform/DBNavigator.h"

#include "platform/ErrorReport.h"
#include "store/tables/TableEngine.h"

#include <QStyle>
#include <QToolButton>

namespace {

struct ButtonInfo {
    const char *name;
    const char *hint;
    QStyle::StandardPixmap icon;
};

const ButtonInfo buttonInfo[4] = {
    {"First", "Primeiro registro", QStyle::SP_MediaSkipBackward},
    {"Prior", "Registro anterior", QStyle::SP_MediaSeekBackward},
    {"Next", "Próximo registro", QStyle::SP_MediaSeekForward},
    {"Last", "Último registro", QStyle::SP_MediaSkipForward},
};

} // namespace

DBNavigator::DBNavigator(Table *table, QWidget *parent) : QWidget(parent), m_table(table)
{
    resize(4 * ButtonWidth, ButtonHeight);
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(buttonInfo[i].name));
        b->setProperty("hint", QString::fromUtf8(buttonInfo[i].hint));
        // The buttons show only icons: screen readers name them by their hints.
        b->setAccessibleName(QString::fromUtf8(buttonInfo[i].hint));
        b->setIcon(style()->standardIcon(buttonInfo[i].icon));
        b->setIconSize(QSize(12, 12));
        b->setGeometry(i * ButtonWidth, 0, ButtonWidth, ButtonHeight);
        b->setFocusPolicy(Qt::TabFocus);
        const auto which = Button(i);
        connect(b, &QToolButton::clicked, this, [this, which] {
            runGuarded([this, which] { go(which); });
        });
        m_buttons[i] = b;
    }
    setHintsShown(true);
    // While a record is edited it stays current, so typing, which changes the record buffer,
    // needs no seeks.
    connect(m_table, &Table::recordChanged, this, [this] {
        if (m_table->state() == Table::State::Browse)
            updateButtons();
    });
    connect(m_table, &Table::stateChanged, this, &DBNavigator::updateButtons);
    updateButtons();
}

QToolButton *DBNavigator::button(Button which) const
{
    return m_buttons[int(which)];
}

void DBNavigator::setHintsShown(bool shown)
{
    for (QToolButton *b : m_buttons)
        b->setToolTip(shown ? b->property("hint").toString() : QString());
}

void DBNavigator::updateButtons()
{
    // Asking where the record stands is a seek too; should the engine fail, every button stays
    // usable and the move itself reports the error.
    bool atFirst = false;
    bool atLast = false;
    runGuarded([&] {
        atFirst = m_table->atFirst();
        atLast = m_table->atLast();
    });
    button(Button::First)->setEnabled(!atFirst);
    button(Button::Prior)->setEnabled(!atFirst);
    button(Button::Next)->setEnabled(!atLast);
    button(Button::Last)->setEnabled(!atLast);
}

void DBNavigator::go(Button which)
{
    switch (which) {
    case Button::First:
        m_table->first();
        break;
    case Button::Prior:
        m_table->prior();
        break;
    case Button::Next:
        m_table->next();
        break;
    case Button::Last:
        m_table->last();
        break;
    }
    emit clicked(which);
}
