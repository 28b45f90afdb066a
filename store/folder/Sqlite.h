#pragma once
// SQLite's own resources, each with one owner, and the texts of its errors. Only the SQLite
// pieces of the table engine (the connection and the statement) and the set-up use these: the
// cursor and the statement object above them never see the library.
#include <QByteArray>
#include <QString>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

struct ConnectionCloser {
    void operator()(sqlite3 *db) const noexcept;
};
// An open connection, closed when its owner goes. Statements still prepared on it keep it open
// until they are finalised themselves (sqlite3_close_v2), whatever order the owners go in.
using SqliteConnection = std::unique_ptr<sqlite3, ConnectionCloser>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt *statement) const noexcept;
};
// A prepared statement, finalised when its owner goes.
using SqliteStatement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Opens the database `fileName` (a path, ":memory:" or a "file:" URI, in UTF-8) with the open
// flags `flags`. Throws AppError, naming `shownName` when it is given, when it cannot be opened.
SqliteConnection openConnection(const QByteArray &fileName, int flags, const QString &shownName = QString());

// Prepares the first statement of `sql` on `db` (prepare flags such as SQLITE_PREPARE_PERSISTENT).
// Throws AppError with sqliteErrorText() when SQLite refuses the text, and when the text holds
// no statement at all.
SqliteStatement prepareStatement(sqlite3 *db, const QByteArray &sql, unsigned flags = 0);

// The text for the user of the last error on `db`: what went wrong, in Portuguese, with the
// library's own words in parentheses. An error of a file that another program holds beyond the
// wait starts with TableInUseText.
QString sqliteErrorText(sqlite3 *db);
// Whether the last error on `db` is one that another program holding the file caused.
bool sqliteBusy(sqlite3 *db);
