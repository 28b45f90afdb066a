#pragma once
// The parts of a bank on a PostgreSQL server, each made by its own statements inside a
// transaction that the caller holds (ServerSetup.h), so that a bank is made whole or not at all.
// Each table file of a folder is table db of a schema named after it: perguntas.db, inicial.db,
// and recorde.db for the record file. The objects belong to the role that makes them; the roles
// of the game are given their rights afterwards (ServerRoles.h).
#include "store/bank/RecordStore.h"

#include <QString>

struct pg_conn;

// Schema perguntas: table db with the question layout (lower-case column names, texts without a
// size as the table files have them) and column linha, by which a cursor keeps its place; the
// unique index on id, the editor's order and its text index IdPergunta; the change counter
// perguntas.mudancas that every change of the table counts itself in; table fotos with the
// photos' bytes, none above the limit of a photo file.
void makeQuestionSchema(pg_conn *server);

// Schema recorde: table db with its one row, blank while no record is set, and the only way the
// pupils' machines change it: recorde.travar() reads the row and holds it for the transaction,
// recorde.gravar(nome, pontos) writes a record of what a whole game can score (see
// RecordLimits), never below the one stored.
void makeRecordSchema(pg_conn *server);

// Schema inicial: table db with the name of the administrator's role, which the password
// change needs before it connects as that role, and inicial.administrador(), which tells it. No
// password is kept here: the server keeps the role's.
void makeAccountSchema(pg_conn *server, const QString &administrator);

// What the bank's layout is, kept as the comment of schema perguntas: a program that finds a
// comment of the game that is not its own refuses the bank rather than misread it.
inline const QString BankSchemaMarkStart = QStringLiteral("Jornada do Saber: banco de perguntas");
inline const QString BankSchemaMark = BankSchemaMarkStart + QStringLiteral(", versão 1");

// Throws AppError, naming the server as `where` says, for a PostgreSQL older than the bank
// needs, or a bank marked as another version of it.
void refuseUnknownServer(pg_conn *server, const QString &where);

// Throws AppError, naming the server as `where` says, when any of the three schemas is there.
void refuseExistingBank(pg_conn *server, const QString &where);
