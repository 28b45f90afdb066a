#include "store/ServerRecord.h"

#include "store/AppError.h"
#include "store/BankLocation.h"
#include "store/Libpq.h"
#include "store/ServerEngine.h"
#include "store/Win1252.h"

#include <libpq-fe.h>

namespace {

// The stored record in `result` (its first row), if one has been set.
std::optional<Record> recordIn(const pg_result *result)
{
    if (PQntuples(result) == 0 || PQgetisnull(result, 0, 0))
        return std::nullopt;
    return Record{serverValue(result, 0, 0).toString(), qint32(serverValue(result, 0, 1).toLongLong())};
}

} // namespace

ServerRecordStore::ServerRecordStore(const QString &connection) : m_connection(connection) {}

std::optional<Record> ServerRecordStore::read()
{
    const std::shared_ptr<ServerEngine> server = ServerEngine::forConnection(m_connection);
    return recordIn(server->execute(QStringLiteral("SELECT nome, pontos FROM recorde.db")).get());
}

void ServerRecordStore::settle(const std::function<std::optional<Record>(const Stored &)> &decide)
{
    const std::shared_ptr<ServerEngine> server = ServerEngine::forConnection(m_connection);
    server->command(QStringLiteral("BEGIN"));
    try {
        Stored stored;
        stored.record = recordIn(server->execute(QStringLiteral("SELECT nome, pontos FROM recorde.db FOR UPDATE")).get());
        if (const std::optional<Record> record = decide(stored)) {
            // The name as the record file would keep it: Windows-1252 characters only.
            const QVariantList values = {fromWin1252(toWin1252(record->name)), record->points};
            const PgResult updated =
                server->execute(QStringLiteral("UPDATE recorde.db SET nome = :NOME, pontos = :PONTOS"), values);
            if (qstrcmp(PQcmdTuples(updated.get()), "0") == 0)
                server->execute(QStringLiteral("INSERT INTO recorde.db (nome, pontos) VALUES (:NOME, :PONTOS)"), values);
        }
        server->command(QStringLiteral("COMMIT"));
    } catch (...) {
        // The error that stopped the claim is the one to report; a rollback that fails as well
        // leaves a connection that is broken, which the next statement makes again.
        try {
            server->command(QStringLiteral("ROLLBACK"));
        } catch (const AppError &) {
        }
        throw;
    }
}

void createServerRecordTable(const QString &connection)
{
    const PgConnection server = connectToServer(connection);
    runScriptOnServer(server.get(), QStringLiteral("BEGIN"));
    const PgResult found = runOnServer(server.get(), QStringLiteral("SELECT pg_catalog.to_regclass('recorde.db') IS NOT NULL"));
    if (PQgetvalue(found.get(), 0, 0)[0] == 't')
        throw AppError(QStringLiteral("A tabela já existe: recorde.db no %1").arg(BankLocation::server(connection).description()));
    // One row, always there, so that a claim has a row to lock even before the first record;
    // the index on a constant keeps it the only one.
    runScriptOnServer(server.get(),
                      QStringLiteral("CREATE SCHEMA IF NOT EXISTS recorde;"
                                     "CREATE TABLE recorde.db (nome text COLLATE \"C\", pontos integer,"
                                     " CHECK ((nome IS NULL) = (pontos IS NULL)));"
                                     "CREATE UNIQUE INDEX uma_linha ON recorde.db ((true));"
                                     "INSERT INTO recorde.db VALUES (NULL, NULL);"
                                     "COMMIT;"));
}
