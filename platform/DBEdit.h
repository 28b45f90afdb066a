#pragma once
// A one-line edit box bound to a field of a table: it shows the field of the current record (or
// of the record being edited) and writes what is typed, or set with setText, into the table's
// record buffer, so that the table's post stores it. It follows the table's moves and modes.
#include <QLineEdit>

class Table;

class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    DBEdit(Table *table, const QString &fieldName, QWidget *parent = nullptr);

    Table *table() const { return m_table; }
    // The box is never typed into (a value the system gives); it still takes the focus, so that
    // a screen reader can read it.
    void keepReadOnly();
    const QString &fieldName() const { return m_field; }

private slots:
    // Shows the field's current value; while browsing the box is read-only, since there is no
    // record buffer that typing could go to, but it takes the focus and can be read.
    void showField();
    void writeField(const QString &text);

private:
    Table *m_table;
    QString m_field;
    bool m_showing = false; // set while the box takes its text from the table
    bool m_writing = false; // set while the box's text goes into the table
    bool m_alwaysReadOnly = false;
};
