#pragma once
// libpq's own resources, each with one owner, and the texts of a server's errors. Only the
// server pieces of the table engine (ServerEngine, ServerStatement, ServerTable) and the server's
// set-up use these: the cursor and the statement object above them never see the library.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

struct pg_conn;
struct pg_result;

struct PgConnectionCloser {
    void operator()(pg_conn *connection) const noexcept;
};
// An open connection to a server, closed when its owner goes.
using PgConnection = std::unique_ptr<pg_conn, PgConnectionCloser>;

struct PgResultClearer {
    void operator()(pg_result *result) const noexcept;
};
// The result of one command, freed when its owner goes.
using PgResult = std::unique_ptr<pg_result, PgResultClearer>;

// Connects to the server that `connection` (a libpq connection string) names, talking UTF-8,
// with no schema searched (every statement names its tables with their schema) and a short wait
// for rows that another connection holds. Throws AppError naming the server (without its
// password) and the reason when it cannot.
PgConnection connectToServer(const QString &connection);
// The attempt to connect that connectToServer() makes, handed back whether it succeeded or not,
// so that the caller can ask libpq how it went (PQstatus, PQconnectionUsedPassword). Its session
// is not set up. `again`: a connection that broke in use, made again, which waits a shorter
// while for a server that does not answer. Throws AppError only when memory runs out.
PgConnection attemptConnection(const QString &connection, bool again = false);
// The text for the user of a connection to `connection` that failed: the server named (without
// its password), then libpq's reason.
QString connectionFailureText(const QString &connection, const pg_conn *attempt);
// Sets a connection made anew (PQreset) up as connectToServer() does. Throws AppError.
void setUpSession(pg_conn *connection);

// Runs `sql` with `parameters` (null, numbers, texts and bytes) on `connection` and returns its
// result, rows in text form. Throws AppError (serverErrorText) when the command fails.
PgResult runOnServer(pg_conn *connection, const QString &sql, const QList<QVariant> &parameters = {});

// Runs the statements of `script`, which take no parameters, one after the other. Throws
// AppError (serverErrorText) when one fails.
void runScriptOnServer(pg_conn *connection, const QString &script);

// The parameters of a command as libpq takes them: each value as text (bytes as binary), null as
// a null pointer. The byte arrays own the data the pointers point into.
struct PgParameters {
    explicit PgParameters(const QList<QVariant> &values);
    QList<QByteArray> data;
    QList<const char *> values;
    QList<int> lengths;
    QList<int> formats;
};

// `name` as an SQL identifier and `text` as an SQL string constant, quoted by libpq for the
// server of `connection`: for the statements that take no parameters (CREATE ROLE, GRANT).
// Throws AppError when libpq cannot (a text that is not valid in the connection's encoding).
QString escapedIdentifier(pg_conn *connection, const QString &name);
QString escapedLiteral(pg_conn *connection, const QString &text);
// `password` of role `role` as the server keeps it (SCRAM or MD5, as the server's
// password_encryption says), made here by libpq: the password itself never reaches the server's
// statements or logs. Throws AppError.
QString encryptedPassword(pg_conn *connection, const QString &password, const QString &role);

// Whether `result` holds the outcome of a command that succeeded.
bool succeeded(const pg_result *result);
// The text for the user of the failure in `result` (or, without one, of the connection): what
// went wrong, in Portuguese, with the server's own words in parentheses. A row that another
// connection holds beyond the wait starts with TableInUseText; a server that cannot be reached
// starts with ServerUnreachableText.
QString serverErrorText(const pg_result *result, const pg_conn *connection);

// The start of the text of an error of a server that cannot be reached (down, or the network).
extern const QString ServerUnreachableText;

// Column `column` of row `row` of `result` as the engine hands values on: null, qlonglong for
// integers and truth values, double for other numbers, QByteArray for bytes, QString otherwise.
QVariant serverValue(const pg_result *result, int row, int column);
