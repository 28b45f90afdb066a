#include "store/server/ServerRecord.h"

#include "store/core/AppError.h"
#include "store/server/Libpq.h"
#include "store/server/ServerEngine.h"
#include "store/core/Win1252.h"

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
        // The record's two functions are the only way the pupils' role reaches it (ServerSchema.h).
        Stored stored;
        stored.record = recordIn(server->execute(QStringLiteral("SELECT nome, pontos FROM recorde.travar()")).get());
        if (const std::optional<Record> record = decide(stored)) {
            // The name as the record file would keep it: Windows-1252 characters only.
            server->execute(QStringLiteral("SELECT recorde.gravar(:NOME, :PONTOS)"),
                            {fromWin1252(toWin1252(record->name)), record->points});
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
