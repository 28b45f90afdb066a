#include "store/Sqlite.h"

#include "store/AppError.h"
#include "store/TableErrors.h"

#include <sqlite3.h>

void ConnectionCloser::operator()(sqlite3 *db) const noexcept { sqlite3_close_v2(db); }

void StatementFinalizer::operator()(sqlite3_stmt *statement) const noexcept { sqlite3_finalize(statement); }

QString sqliteErrorText(sqlite3 *db)
{
    const QString engineText = QString::fromUtf8(sqlite3_errmsg(db));
    // Another program holds the file beyond the wait: say so, keeping the engine's words.
    if (sqliteBusy(db))
        return TableInUseText + QStringLiteral(" (") + engineText + QLatin1Char(')');
    return engineText;
}

bool sqliteBusy(sqlite3 *db)
{
    const int code = sqlite3_extended_errcode(db) & 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

SqliteConnection openConnection(const QByteArray &fileName, int flags, const QString &shownName)
{
    sqlite3 *opened = nullptr;
    const int rc = sqlite3_open_v2(fileName.constData(), &opened, flags, nullptr);
    // A failed open may still give a connection, which holds the reason and must be closed.
    SqliteConnection db(opened);
    if (rc == SQLITE_OK)
        return db;
    const QString text = db ? sqliteErrorText(db.get()) : QStringLiteral("out of memory");
    throw AppError(shownName.isEmpty() ? text : shownName + QStringLiteral(": ") + text);
}

SqliteStatement prepareStatement(sqlite3 *db, const QByteArray &sql, unsigned flags)
{
    sqlite3_stmt *prepared = nullptr;
    const int rc = sqlite3_prepare_v3(db, sql.constData(), int(sql.size()), flags, &prepared, nullptr);
    SqliteStatement statement(prepared);
    if (rc != SQLITE_OK)
        throw AppError(sqliteErrorText(db));
    if (!statement) // only blanks or comments
        throw AppError(QStringLiteral("No SQL statement"));
    return statement;
}
