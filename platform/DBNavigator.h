#pragma once
// A record navigator over a table: four small buttons that move to the first, prior, next and
// last record in the table's order. Each move is one index seek of the table.
#include <QWidget>

class QToolButton;
class Table;

class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum class Button { First, Prior, Next, Last };
    Q_ENUM(Button)

    static constexpr int ButtonWidth = 28;
    static constexpr int ButtonHeight = 26;

    explicit DBNavigator(Table *table, QWidget *parent = nullptr);

    QToolButton *button(Button which) const;
    // The buttons' hints ("Primeiro", ...) are kept in their "hint" property and shown as
    // tooltips only when switched on, which they are by default.
    void setHintsShown(bool shown);

signals:
    // After a button has moved the table.
    void clicked(DBNavigator::Button button);

private slots:
    // First and Prior are usable unless the first record is current, Next and Last unless the
    // last one is.
    void updateButtons();

private:
    void go(Button which);

    Table *m_table;
    QToolButton *m_buttons[4];
};
