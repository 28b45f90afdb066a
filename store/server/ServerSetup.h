#pragma once
// Making a bank on a PostgreSQL server (the schemas of ServerSchema.h, the roles of
// ServerRoles.h) and the set-up's other work on it. Used through ServerBank.h and NewServerBank.h, which
// say what each step is for; each runs in one transaction on a connection of its own, so that a
// failure leaves the server as it was.
#include "store/bank/RecordStore.h"
#include "store/server/ServerRoles.h"
#include "store/bank/Question.h"

#include <QList>
#include <QString>

#include <optional>

// Throws AppError when the table is there already, or when the server refuses.
void createServerQuestionTable(const QString &connection);
void createServerRecordTable(const QString &connection);
// Adds `rows` (texts already cut to their fields) in one transaction.
void insertServerQuestions(const QString &connection, const QList<Question> &rows);
// Every question, in Id order (Bank::readQuestions()).
QList<Question> readServerQuestionTable(const QString &connection);

// A photo for a bank: stored as `name`, read from the file `path` when it is stored.
struct ServerPhotoFile {
    QString name;
    QString path;
};

// Stores the photos `photos` and the questions that `produce` hands over, in one transaction, as
// storeQuestions() (FolderSetup.h) stores them in a folder: a row whose id is the number of a question
// replaces it (or is Unchanged), any other is added, numbered on from the largest Id. The table
// is held against other writers from before the largest Id is read; every failure, and what
// `produce` throws, leaves the bank as it was, photos included.
void storeServerQuestions(const QString &connection, const QList<ServerPhotoFile> &photos,
                          const std::function<void(const QuestionWriter &)> &produce);

// Everything a new bank on a server holds.
struct ServerBankContents {
    ServerRoles roles;
    QList<Question> questions; // stored as they are
    QList<ServerPhotoFile> photos;
    std::optional<Record> record;
};

// Makes a whole bank on the server of `connection`, in one transaction: the three schemas, both
// roles with their rights, and `contents`. Refuses (AppError, nothing changed) a server that has
// a bank, or either role, already; a record outside what a whole game scores; a photo above the
// limit of a photo file, or one that cannot be read.
void createServerBank(const QString &connection, const ServerBankContents &contents);

// Sets the password of the administrator's role of the bank on the server of `connection`, as
// the role of that connection (which must be the administrator's, or one that may change roles).
// Throws AppError for a password that the login screen could not take (1 to 7 Windows-1252
// characters) or when the server refuses. Returns the administrator's role.
QString setServerAdminPassword(const QString &connection, const QString &password);
