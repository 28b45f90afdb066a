#pragma once
// Creating a data directory's tables and filling the question bank. Used by the set-up tool
// jornada-dados and by tests that need a data directory of their own. The game itself never
// creates tables.
#include "store/core/BankLocation.h"

#include <QList>
#include <QSet>
#include <QString>
#include <array>
#include <functional>

struct QuestionRow {
    double id = 0;
    QString pergunta, resp1, resp2, resp3, resp4, correta, foto;
};

// Creates Perguntas.DB at `where`: table db with the question layout, a unique index on Id and
// the index IdPergunta on the case-folded key of Pergunta (CaseFoldedKey.h), which ignores the
// case of every Windows-1252 letter. Throws AppError if the table exists. (On a server, the
// table is db of schema perguntas: see ServerSetup.h.)
void createQuestionTable(const BankLocation &where);

// Creates inicial.db in the data folder `directory` with its one account. Throws AppError if the
// table exists, or if the login or the password does not fit its field (10 and 7 Windows-1252
// characters). (A server has no such table: its account is a role, made with the whole bank by
// createServerBank(), ServerSetup.h.)
void createAccountTable(const QString &directory, const QString &login, const QString &password);

// Makes the record's place at `where` with no record: on a server, its table (ServerRecord.h); a
// folder needs nothing, as its record file is written with the first record. Throws AppError
// when the server already has the table, or refuses.
void createRecordTable(const BankLocation &where);

// Sets the administrator's password at `where`, leaving the login, the questions and the record
// as they are. In a folder: in inicial.db, in one transaction; a missing account table (or one
// without its row) is created with the default login. On a server: the password of the
// administrator's role (setServerAdminPassword(), ServerSetup.h). Throws AppError, changing
// nothing, for a password that does not fit its field (1 to 7 Windows-1252 characters), a folder
// that does not exist, or a server that refuses. Returns the account's login.
QString setAdminPassword(const BankLocation &where, const QString &password);

// Adds `rows` to Perguntas.DB at `where` in one transaction. Texts are stored as the table engine
// stores them: cut to the field size, in Windows-1252 characters, an empty text as blank.
void insertQuestions(const BankLocation &where, const QList<QuestionRow> &rows);

// Adds `rows` to Perguntas.DB of `directory`, numbered on from one above the largest Id (from 1
// in an empty table; the rows' own ids are not used), stored as insertQuestions() stores them.
// One transaction, which takes the table's write lock before the largest Id is read: when any
// step fails, or the table is locked by another program, the table is left as it was and
// AppError says why. Returns the number of the first row added.
double appendQuestions(const QString &directory, const QList<QuestionRow> &rows);
// The same with the rows handed over one at a time: `produce` calls the function it is given once
// for each row, so that the rows are never all in memory together. What `produce` throws undoes
// the transaction, as any other failure does.
using QuestionSink = std::function<void(const QuestionRow &)>;
double appendQuestions(const QString &directory, const std::function<void(const QuestionSink &)> &produce);

// The texts of a question as a table stores them, in the order Pergunta, Resp1 to Resp4, Correta,
// Foto: cut to their fields, in Windows-1252 characters.
using StoredTexts = std::array<QString, 7>;
StoredTexts storedTexts(const QuestionRow &row);
// Whether `texts`, about to replace the stored `old`, change nothing. A text that differs from
// the stored one only in how its lines end (CR LF or LF) takes the stored form first: spreadsheets
// end the lines inside a cell with LF, whatever they read.
bool sameAsStored(StoredTexts &texts, const StoredTexts &old);

// What storeQuestions() did with one row.
enum class StoredAs { Added, Replaced, Unchanged };
struct StoredRow {
    double id = 0; // the number the question has in the bank
    StoredAs as = StoredAs::Added;
};
using QuestionWriter = std::function<StoredRow(const QuestionRow &)>;
// Adds or replaces the rows that `produce` hands over, one at a time, in one transaction taken as
// appendQuestions() takes it: a row whose id is the number of a question of the bank replaces that
// question (Unchanged when every field already holds what the row would store; a text that differs
// only in how its lines end, CR LF or LF, keeps its stored form); any other row
// (its id NaN, or a number the bank does not have) is added, numbered on from the largest Id.
// What `produce` throws, or any failure, leaves the table as it was.
void storeQuestions(const QString &directory, const std::function<void(const QuestionWriter &)> &produce);

// The path of Perguntas.DB of the data directory `folder` (absolute). Throws AppError, telling the
// teacher how to make the folder, when it has none.
QString questionBankTable(const QString &folder);

// Every question of Perguntas.DB at `where` in Id order; a blank text reads as empty, a blank Id
// as NaN.
QList<QuestionRow> readQuestionTable(const BankLocation &where);

// The photos that the questions of Perguntas.DB of `directory` name, each once.
QSet<QString> questionPhotos(const QString &directory);

// Reads a question source: UTF-8 text, a header line
// "Id<TAB>Pergunta<TAB>Resp1<TAB>Resp2<TAB>Resp3<TAB>Resp4<TAB>Correta<TAB>Foto", then one
// question per line with its fields separated by tabs; blank lines and lines starting with '#'
// are ignored. Foto is kept as written (a file name). Throws AppError, naming the line, for a
// line that does not make a sound question: wrong number of fields, an Id that is not a whole
// number from 1 or is repeated, an empty field, a text too long for its field or with characters
// outside Windows-1252, a Correta equal to none of the answers; and when the Ids do not run
// from 1 to the number of questions without gaps, which the game's draw relies on.
QList<QuestionRow> readQuestionSource(const QString &tsvPath);

// The administrator account that a new data directory gets.
inline const char *const defaultAdminLogin = "Adm";
inline const char *const defaultAdminPassword = "1234";

struct DataDirectoryReport {
    QString folder;      // absolute
    QString photoFolder; // folder/fotos
    int questions = 0;
    int photos = 0;
    bool replaced = false; // tables were there before
};

// Fills `folder` (created with its parents if needed) from the question source in `source`:
// Perguntas.DB from source/perguntas.tsv, inicial.db with the default account, and a copy in
// folder/fotos of every photo of source/fotos that a question uses; Foto holds the full path of
// the copy. Everything is checked before anything is written, and the tables are built aside and
// moved into place only when complete. Existing tables are replaced only when `replace` is true;
// otherwise, as on any other failure, AppError (in Portuguese) and nothing changed. The record
// file is never touched.
DataDirectoryReport buildDataDirectory(const QString &folder, const QString &source, bool replace);
