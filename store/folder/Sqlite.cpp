#include "store/folder/Sqlite.h"

#include "store/core/AppError.h"
#include "store/tables/TableErrors.h"

#include <sqlite3.h>

void ConnectionCloser::operator()(sqlite3 *db) const noexcept { sqlite3_close_v2(db); }

void StatementFinalizer::operator()(sqlite3_stmt *statement) const noexcept { sqlite3_finalize(statement); }

namespace {

// What an error of SQLite's (primary) result code means to the user.
QString errorMeaning(int code)
{
    switch (code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return TableInUseText;
    case SQLITE_READONLY:
        return QStringLiteral("A tabela não pode ser alterada: o arquivo ou a sua pasta só permite leitura");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("A tabela recusou a alteração");
    case SQLITE_NOTADB:
        return QStringLiteral("O arquivo não é uma tabela de banco de dados");
    case SQLITE_CORRUPT:
        return QStringLiteral("O arquivo da tabela está danificado");
    case SQLITE_FULL:
        return QStringLiteral("O disco está cheio");
    case SQLITE_IOERR:
        return QStringLiteral("Erro de leitura ou gravação no arquivo da tabela");
    case SQLITE_CANTOPEN:
        return QStringLiteral("O arquivo da tabela não pôde ser aberto");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Sem permissão para usar o arquivo da tabela");
    case SQLITE_NOMEM:
        return QStringLiteral("Falta memória para o banco de perguntas");
    case SQLITE_ERROR:
        return QStringLiteral("Erro no comando SQL");
    default:
        return QStringLiteral("Erro no banco de perguntas");
    }
}

} // namespace

QString sqliteErrorText(sqlite3 *db)
{
    const int code = sqlite3_extended_errcode(db) & 0xff;
    return errorMeaning(code) + QStringLiteral(" (") + QString::fromUtf8(sqlite3_errmsg(db)) + QLatin1Char(')');
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
    const QString text = db ? sqliteErrorText(db.get()) : errorMeaning(SQLITE_NOMEM);
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
        throw AppError(QStringLiteral("O comando SQL está vazio"));
    return statement;
}
