#pragma once
// The tables of a data folder made and filled: by its backend (FolderBank.h), by the set-up of a
// new data folder (DataFolder.h) and by tests that need a data folder of their own. The game
// itself never creates tables.
#include "store/bank/Question.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>

// Creates Perguntas.DB in the data folder `directory`: table db with the question layout, a
// unique index on Id and the index IdPergunta on the case-folded key of Pergunta (CaseFoldedKey.h), which ignores the
// case of every Windows-1252 letter. Throws AppError if the table exists.
void createQuestionTable(const QString &directory);

// Creates inicial.db in the data folder `directory` with its one account. Throws AppError if the
// table exists, or if the login or the password does not fit its field (10 and 7 Windows-1252
// characters). (A server's account is a
// role instead.)
void createAccountTable(const QString &directory, const QString &login, const QString &password);

// Sets the administrator's password in inicial.db of `directory`, in one transaction, leaving the
// login, the questions and the record as they are; a missing account table (or one without its
// row) is created with the default login. Throws AppError, changing nothing, for a password that
// does not fit its field (1 to 7 Windows-1252 characters) or a folder that does not exist.
// Returns the account's login.
QString setAdminPassword(const QString &directory, const QString &password);

// Adds `rows` to Perguntas.DB of `directory` in one transaction. Texts are stored as the table engine
// stores them: cut to the field size, in Windows-1252 characters, an empty text as blank.
void insertQuestions(const QString &directory, const QList<Question> &rows);

// Adds `rows` to Perguntas.DB of `directory`, numbered on from one above the largest Id (from 1
// in an empty table; the rows' own ids are not used), stored as insertQuestions() stores them.
// One transaction, which takes the table's write lock before the largest Id is read: when any
// step fails, or the table is locked by another program, the table is left as it was and
// AppError says why. Returns the number of the first row added.
double appendQuestions(const QString &directory, const QList<Question> &rows);
// The same with the rows handed over one at a time: `produce` calls the function it is given once
// for each row, so that the rows are never all in memory together. What `produce` throws undoes
// the transaction, as any other failure does.
double appendQuestions(const QString &directory, const std::function<void(const QuestionSink &)> &produce);

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

// Every question of Perguntas.DB of `directory` in Id order; a blank text reads as empty, a blank Id
// as NaN.
QList<Question> readQuestionTable(const QString &directory);

// The photos that the questions of Perguntas.DB of `directory` name, each once.
QSet<QString> questionPhotos(const QString &directory);
