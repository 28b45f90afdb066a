#pragma once
// A question, its columns as the bank stores them, and how the set-up and the import hand
// questions to a bank.
#include "store/tables/Fields.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <span>

// The columns of the question table, in the order a table stores them (Perguntas.DB in a folder,
// perguntas.db on a server). Foto is the last.
enum class QuestionColumn { Pergunta, Resp1, Resp2, Resp3, Resp4, Correta, Id, Foto };
inline constexpr int QuestionColumnCount = int(QuestionColumn::Foto) + 1;

// Every column, in stored order.
inline constexpr std::array<QuestionColumn, QuestionColumnCount> QuestionColumns = [] {
    std::array<QuestionColumn, QuestionColumnCount> columns {};
    for (int c = 0; c < QuestionColumnCount; ++c)
        columns[size_t(c)] = QuestionColumn(c);
    return columns;
}();
// The columns that hold texts, in stored order: every one but Id.
inline constexpr std::array<QuestionColumn, QuestionColumnCount - 1> QuestionTexts = [] {
    std::array<QuestionColumn, QuestionColumnCount - 1> columns {};
    size_t n = 0;
    for (QuestionColumn column : QuestionColumns)
        if (column != QuestionColumn::Id)
            columns[n++] = column;
    return columns;
}();
// The columns of a file of questions (the TSV source, the exported file), in its order: Id, then
// the texts.
inline constexpr std::array<QuestionColumn, QuestionColumnCount> QuestionFileColumns = [] {
    std::array<QuestionColumn, QuestionColumnCount> columns {QuestionColumn::Id};
    for (size_t i = 0; i < QuestionTexts.size(); ++i)
        columns[i + 1] = QuestionTexts[i];
    return columns;
}();

// The name, type and size of every column, in stored order (QuestionColumn indexes it): the one
// list that the cursor, the statements of both kinds of bank, the TSV source, the export and the
// import take the columns from.
const QList<FieldDef> &questionFields();
const FieldDef &questionField(QuestionColumn column);
// The names of `columns`, in their order.
QStringList questionColumnNames(std::span<const QuestionColumn> columns);
// `pattern` written for each column in stored order (Id left out unless `withId`), %1 standing
// for the column's name and %2 for its place in stored order, from 1, joined by ", ". For the
// statements on a question table: "%1" lists the columns, "?%2" the parameters that bind them in
// stored order (Question::value()), "%1 = ?%2" the assignments of an update.
QString questionColumnsSql(const QString &pattern, bool withId = true);

struct Question {
    double id = 0; // an import's row that replaces no question has NaN
    QString pergunta;
    std::array<QString, 4> answers; // Resp1 to Resp4
    QString correta; // the text of the right answer
    QString foto;    // the photo's path in a folder, its name on a server

    // The text in `column`, which must be one of QuestionTexts.
    QString &text(QuestionColumn column);
    const QString &text(QuestionColumn column) const;
    // The value of `column` as a statement binds it: the text, or the number for Id; a blank
    // (null QVariant) for an empty text and for an Id that is no number.
    QVariant value(QuestionColumn column) const;
    // `column` set from a value a statement reads: a blank is an empty text, or NaN for Id.
    void setValue(QuestionColumn column, const QVariant &value);
};

// A producer of rows calls the function it is given once for each row, so that the rows are
// never all in memory together.
using QuestionSink = std::function<void(const Question &)>;

// `text` as a table stores it in a field of `size` characters: cut to the size, in Windows-1252
// characters.
QString storedFieldText(const QString &text, int size);
// `question` as a table stores it: every text cut to its field, in Windows-1252 characters.
Question storedQuestion(Question question);
// Whether the texts of `question`, about to replace the stored `old`, change nothing. A text that
// differs from the stored one only in how its lines end (CR LF or LF) takes the stored form first:
// spreadsheets end the lines inside a cell with LF, whatever they read.
bool sameAsStored(Question &question, const Question &old);

// What the bank did with one row of an import (QuestionWrites.h).
enum class StoredAs { Added, Replaced, Unchanged };
struct StoredRow {
    double id = 0; // the number the question has in the bank
    StoredAs as = StoredAs::Added;
};
using QuestionWriter = std::function<StoredRow(const Question &)>;
