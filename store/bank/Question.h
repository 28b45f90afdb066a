#pragma once
// A question as the bank stores it, and how the set-up and the import hand questions to a bank.
#include <QString>

#include <array>
#include <functional>

struct QuestionRow {
    double id = 0;
    QString pergunta, resp1, resp2, resp3, resp4, correta, foto;
};

// A producer of rows calls the function it is given once for each row, so that the rows are
// never all in memory together.
using QuestionSink = std::function<void(const QuestionRow &)>;

// `text` as a table stores it in a field of `size` characters: cut to the size, in Windows-1252
// characters.
QString storedFieldText(const QString &text, int size);

// The texts of a question as a table stores them, in the order Pergunta, Resp1 to Resp4, Correta,
// Foto: cut to their fields, in Windows-1252 characters.
using StoredTexts = std::array<QString, 7>;
StoredTexts storedTexts(const QuestionRow &row);
// Whether `texts`, about to replace the stored `old`, change nothing. A text that differs from
// the stored one only in how its lines end (CR LF or LF) takes the stored form first: spreadsheets
// end the lines inside a cell with LF, whatever they read.
bool sameAsStored(StoredTexts &texts, const StoredTexts &old);

// What the bank did with one row of an import (QuestionWrites.h).
enum class StoredAs { Added, Replaced, Unchanged };
struct StoredRow {
    double id = 0; // the number the question has in the bank
    StoredAs as = StoredAs::Added;
};
using QuestionWriter = std::function<StoredRow(const QuestionRow &)>;
