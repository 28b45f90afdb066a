#include "store/server/ServerEngine.h"

#include "store/core/AppError.h"
#include "store/server/ServerSql.h"
#include "store/server/ServerStatement.h"
#include "store/server/ServerTable.h"
#include "store/tables/Values.h"

#include <QHash>

#include <libpq-fe.h>

namespace {

// Statements kept prepared per connection, as on a folder: the engine's own texts and the game's
// statements are a few dozen; a caller that made a new text for every use would otherwise grow
// the server's memory without end.
constexpr std::size_t preparedLimit = 128;

QHash<QString, std::weak_ptr<ServerEngine>> &engines()
{
    static QHash<QString, std::weak_ptr<ServerEngine>> map;
    return map;
}

} // namespace

std::shared_ptr<ServerEngine> ServerEngine::forConnection(const QString &connection)
{
    auto &map = engines();
    for (auto it = map.begin(); it != map.end();) {
        if (it.value().expired())
            it = map.erase(it);
        else
            ++it;
    }
    if (auto existing = map.value(connection).lock())
        return existing;
    std::shared_ptr<ServerEngine> engine(new ServerEngine(connection));
    map.insert(connection, engine);
    return engine;
}

std::shared_ptr<ServerEngine> ServerEngine::ownConnection(const QString &connection)
{
    return std::shared_ptr<ServerEngine>(new ServerEngine(connection));
}

ServerEngine::ServerEngine(const QString &connection)
    : m_connection(connection), m_server(connectToServer(connection))
{
}

ServerEngine::~ServerEngine() = default;

void ServerEngine::reconnectIfBroken()
{
    if (PQstatus(m_server.get()) == CONNECTION_OK)
        return;
    PgConnection again = attemptConnection(m_connection, true);
    if (PQstatus(again.get()) != CONNECTION_OK)
        throw AppError(serverErrorText(nullptr, again.get()));
    setUpSession(again.get());
    m_server = std::move(again);
    ++m_connectionAge;
}

const ServerEngine::Prepared &ServerEngine::prepare(const QString &text)
{
    reconnectIfBroken();
    auto it = m_prepared.find(text);
    if (it != m_prepared.end() && it->second.connectionAge == m_connectionAge)
        return it->second;
    if (it == m_prepared.end()) {
        if (m_prepared.size() >= preparedLimit) {
            // Every use looks its statement up again, so none is lost to a use under way.
            runOnServer(m_server.get(), QStringLiteral("DEALLOCATE ALL"));
            m_prepared.clear();
        }
        it = m_prepared.emplace(text, Prepared{}).first;
    }
    Prepared entry;
    entry.text = text;
    const ServerText adapted = serverText(text);
    entry.sql = adapted.sql;
    entry.parameters = adapted.names;
    entry.name = QStringLiteral("jornada_%1").arg(m_nextName++);
    const QByteArray name = entry.name.toUtf8();
    PgResult made(PQprepare(m_server.get(), name.constData(), entry.sql.toUtf8().constData(), 0, nullptr));
    if (!succeeded(made.get())) {
        m_prepared.erase(it);
        throw AppError(serverErrorText(made.get(), m_server.get()));
    }
    PgResult described(PQdescribePrepared(m_server.get(), name.constData()));
    if (!succeeded(described.get())) {
        m_prepared.erase(it);
        throw AppError(serverErrorText(described.get(), m_server.get()));
    }
    while (entry.parameters.size() < PQnparams(described.get()))
        entry.parameters.append(QString());
    for (int i = 0; i < PQnfields(described.get()); ++i)
        entry.columns.append(QString::fromUtf8(PQfname(described.get(), i)));
    entry.connectionAge = m_connectionAge;
    it->second = entry;
    return it->second;
}

PgResult ServerEngine::execute(const QString &text, const QList<QVariant> &values, bool binary)
{
    const QByteArray name = prepare(text).name.toUtf8();
    const PgParameters bound(values);
    PgResult result(PQexecPrepared(m_server.get(), name.constData(), int(values.size()), bound.values.constData(),
                                   bound.lengths.constData(), bound.formats.constData(), binary ? 1 : 0));
    if (!succeeded(result.get()))
        throw AppError(serverErrorText(result.get(), m_server.get()));
    return result;
}

void ServerEngine::command(const QString &sql)
{
    reconnectIfBroken();
    runScriptOnServer(m_server.get(), sql);
}

std::unique_ptr<EngineStatement> ServerEngine::statement(const QString &sql)
{
    return std::make_unique<ServerStatement>(*this, sql);
}

std::unique_ptr<TableRows> ServerEngine::openTable(const QString &fileName, const QList<FieldDef> &fields)
{
    return std::make_unique<ServerTable>(shared_from_this(), fileName, fields);
}

std::optional<QVariantList> ServerEngine::changeMark(const QString &fileName)
{
    // Every statement that changes a question table counts itself in the table's counter (see
    // ServerSetup.cpp); a table without one (made by hand) cannot tell.
    const QString counter = quoted(tableSchemaName(fileName)) + QStringLiteral(".mudancas");
    PgResult exists = execute(QStringLiteral("SELECT pg_catalog.to_regclass(:TABELA::text) IS NOT NULL"), {counter});
    if (PQgetvalue(exists.get(), 0, 0)[0] != 't')
        return std::nullopt;
    PgResult total = execute(QStringLiteral("SELECT total FROM %1").arg(counter));
    if (PQntuples(total.get()) != 1)
        return std::nullopt;
    return QVariantList{serverValue(total.get(), 0, 0)};
}
