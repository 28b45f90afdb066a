#include "platform/DBEdit.h"

#include "platform/ErrorReport.h"
#include "platform/Win1252Validator.h"
#include "store/tables/TableEngine.h"

#include <QApplication>
#include <QRegularExpressionValidator>
#include <cmath>

DBEdit::DBEdit(Table *table, const QString &fieldName, QWidget *parent)
    : QLineEdit(parent), m_table(table), m_field(fieldName)
{
    if (m_table->fieldType(m_field) == FieldType::Number) {
        // Whole numbers only, as the number of a question is stored and shown.
        setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,15}")), this));
    } else {
        setMaxLength(m_table->fieldSize(m_field));
        // The tables keep Windows-1252 text: other characters would be stored as something else.
        setValidator(new Win1252Validator(this));
    }
    connect(m_table, &Table::recordChanged, this, &DBEdit::showField);
    connect(m_table, &Table::stateChanged, this, &DBEdit::showField);
    connect(this, &QLineEdit::textChanged, this, &DBEdit::writeField);
    showField();
}

void DBEdit::keepReadOnly()
{
    m_alwaysReadOnly = true;
    showField();
}

void DBEdit::showField()
{
    const bool readOnly = m_alwaysReadOnly || m_table->state() == Table::State::Browse;
    if (readOnly != isReadOnly() || !testAttribute(Qt::WA_SetPalette)) {
        setReadOnly(readOnly);
        // A box that cannot be typed into shows it, with the background of the window around it.
        QPalette colours = QApplication::palette(this);
        if (readOnly)
            colours.setColor(QPalette::Base, colours.color(QPalette::Window));
        setPalette(colours);
    }
    // The box being typed into already shows what it wrote; giving it its text back would move
    // the cursor.
    if (m_writing)
        return;
    QString text;
    if (m_table->fieldType(m_field) == FieldType::Number) {
        const QVariant value = m_table->fieldValue(m_field);
        if (!value.isNull())
            text = QString::number(std::llround(value.toDouble()));
    } else {
        text = m_table->fieldText(m_field);
    }
    if (text == this->text())
        return;
    m_showing = true;
    setText(text);
    m_showing = false;
}

void DBEdit::writeField(const QString &text)
{
    if (m_showing)
        return;
    if (m_table->state() == Table::State::Browse) {
        // Nothing is being edited: the box goes back to what the record holds.
        showField();
        return;
    }
    m_writing = true;
    const bool written = runGuarded([&] { m_table->setFieldText(m_field, text); });
    m_writing = false;
    if (!written)
        showField(); // the error was shown; the box shows again what the record holds
}
