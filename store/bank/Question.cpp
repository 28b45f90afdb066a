#include "store/bank/Question.h"

#include "store/bank/QuestionWrites.h"
#include "store/core/Win1252.h"

#include <cmath>

const QList<FieldDef> &questionFields()
{
    // In the order of QuestionColumn. A text holds 240 characters, the photo's path 255.
    static const QList<FieldDef> fields = {
        {QStringLiteral("Pergunta"), FieldType::String, 240},
        {QStringLiteral("Resp1"), FieldType::String, 240},
        {QStringLiteral("Resp2"), FieldType::String, 240},
        {QStringLiteral("Resp3"), FieldType::String, 240},
        {QStringLiteral("Resp4"), FieldType::String, 240},
        {QStringLiteral("Correta"), FieldType::String, 240},
        {QStringLiteral("Id"), FieldType::Number, 0},
        {QStringLiteral("Foto"), FieldType::String, 255},
    };
    Q_ASSERT(fields.size() == QuestionColumnCount);
    return fields;
}

const FieldDef &questionField(QuestionColumn column) { return questionFields()[int(column)]; }

QStringList questionColumnNames(std::span<const QuestionColumn> columns)
{
    QStringList names;
    for (QuestionColumn column : columns)
        names << questionField(column).name;
    return names;
}

QString questionColumnsSql(const QString &pattern, bool withId)
{
    QStringList parts;
    for (QuestionColumn column : QuestionColumns)
        if (withId || column != QuestionColumn::Id)
            parts << QString(pattern)
                         .replace(QLatin1String("%1"), questionField(column).name)
                         .replace(QLatin1String("%2"), QString::number(int(column) + 1));
    return parts.join(QLatin1String(", "));
}

QString &Question::text(QuestionColumn column)
{
    return const_cast<QString &>(std::as_const(*this).text(column));
}

const QString &Question::text(QuestionColumn column) const
{
    switch (column) {
    case QuestionColumn::Pergunta:
        return pergunta;
    case QuestionColumn::Resp1:
    case QuestionColumn::Resp2:
    case QuestionColumn::Resp3:
    case QuestionColumn::Resp4:
        return answers[size_t(int(column) - int(QuestionColumn::Resp1))];
    case QuestionColumn::Correta:
        return correta;
    case QuestionColumn::Foto:
        return foto;
    case QuestionColumn::Id:
        break;
    }
    qFatal("Question::text: the column %d holds no text", int(column));
}

QVariant Question::value(QuestionColumn column) const
{
    if (column == QuestionColumn::Id)
        return std::isnan(id) ? QVariant() : QVariant(id);
    const QString &t = text(column);
    return t.isEmpty() ? QVariant() : QVariant(t);
}

void Question::setValue(QuestionColumn column, const QVariant &value)
{
    if (column == QuestionColumn::Id)
        id = value.isNull() ? std::nan("") : value.toDouble();
    else
        text(column) = value.toString();
}

QString storedFieldText(const QString &text, int size) { return fromWin1252(toWin1252(text.left(size))); }

namespace {

// `text` with every line ended by LF alone.
QString withLineFeeds(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

Question storedQuestion(Question question)
{
    for (QuestionColumn column : QuestionTexts)
        question.text(column) = storedFieldText(question.text(column), questionField(column).size);
    return question;
}

bool sameAsStored(Question &question, const Question &old)
{
    bool same = true;
    for (QuestionColumn column : QuestionTexts) {
        QString &text = question.text(column);
        if (withLineFeeds(old.text(column)) == withLineFeeds(text))
            text = old.text(column);
        same = same && old.text(column) == text;
    }
    return same;
}

QuestionWrites::~QuestionWrites() = default;
