#pragma once
// The bank's tables on a PostgreSQL server, made as the set-up makes table files in a folder:
// schema perguntas with table db (the question layout, in lower-case names so that statements
// name the columns as they do on a folder, texts without a size as in the table files), schema
// inicial with table db (the account). Each
// table numbers its rows in column linha, by which a cursor keeps its place. Used through
// Setup.h, which says what each step does.
#include <QList>
#include <QString>

struct QuestionRow;

// Throws AppError when the table is there already, or when the server refuses.
void createServerQuestionTable(const QString &connection);
void createServerAccountTable(const QString &connection, const QString &login, const QString &password);
// Adds `rows` (texts already cut to their fields) in one transaction.
void insertServerQuestions(const QString &connection, const QList<QuestionRow> &rows);
