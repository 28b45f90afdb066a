#pragma once
// The engine of a bank on a PostgreSQL server: one connection per connection string, shared by
// every table and statement on it, with the statements prepared once per text. The server holds
// each table file of the folder as table db of a schema named after it (perguntas.db,
// inicial.db), so that statements run as written (ServerSql.h adapts their parameters).
#include "store/tables/Engine.h"
#include "store/server/Libpq.h"

#include <QStringList>

#include <unordered_map>

class ServerEngine final : public Engine, public std::enable_shared_from_this<ServerEngine> {
public:
    // The engine of `connection`, connected on first use. Throws AppError when the server cannot
    // be reached or refuses the connection.
    static std::shared_ptr<ServerEngine> forConnection(const QString &connection);
    // An engine of `connection` of its own, shared with no other caller: for another thread than
    // the one using forConnection(), which keeps one engine per connection string for its thread.
    // Connects at once. Throws AppError as forConnection().
    static std::shared_ptr<ServerEngine> ownConnection(const QString &connection);
    ~ServerEngine() override;
    ServerEngine(const ServerEngine &) = delete;
    ServerEngine &operator=(const ServerEngine &) = delete;

    std::unique_ptr<EngineStatement> statement(const QString &sql) override;
    std::unique_ptr<TableRows> openTable(const QString &fileName, const QList<FieldDef> &fields) override;
    std::optional<QVariantList> changeMark(const QString &fileName) override;

    // A statement text as prepared on the server.
    struct Prepared {
        QString text;             // as the caller wrote it
        QString name;             // of the prepared statement
        QString sql;              // as the server took it
        QStringList parameters;   // names, by number
        QStringList columns;      // of its rows; none for a statement that gives no rows
        quint64 connectionAge = 0; // the connection it was prepared on (see reconnect)
    };
    // The statement `text` (with ":NAME" parameters), prepared on its first use. The reference
    // holds until the next statement is prepared: keep a copy.
    const Prepared &prepare(const QString &text);
    // Runs statement `text` with `values` for its parameters, prepared if it is not (again, after
    // a connection was made anew); the result holds every row, in text form or, with `binary`,
    // in the server's binary form (bytes as they are). Throws AppError with the server's reason.
    PgResult execute(const QString &text, const QList<QVariant> &values = {}, bool binary = false);
    // Runs `sql`, which takes no parameters and is not kept prepared (BEGIN, COMMIT, ROLLBACK).
    // Throws AppError with the server's reason.
    void command(const QString &sql);

private:
    explicit ServerEngine(const QString &connection);
    // A connection that broke is made again before the next statement; the statements prepared
    // on it are gone with it.
    void reconnectIfBroken();

    QString m_connection;
    PgConnection m_server;
    quint64 m_connectionAge = 1;
    quint64 m_nextName = 1;
    std::unordered_map<QString, Prepared> m_prepared;
};
