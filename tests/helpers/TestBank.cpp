#include "helpers/TestBank.h"

#include <libpq-fe.h>
#include <unistd.h>

namespace {

// Runs `sql` on `connection`; the server's error, or empty.
QString runOn(pg_conn *connection, const QString &sql)
{
    PGresult *result = PQexec(connection, sql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(result);
    QString error;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        error = QString::fromUtf8(PQresultErrorMessage(result)).trimmed();
    PQclear(result);
    return error;
}

QString quotedName(const QString &name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

} // namespace

bool testingOnServer() { return qEnvironmentVariable("JORNADA_TESTE_BANCO") == QLatin1String("servidor"); }

QString serverUnavailable()
{
    if (!testingOnServer())
        return QString();
    PGconn *connection = PQconnectdb("");
    QString why;
    if (PQstatus(connection) != CONNECTION_OK)
        why = QStringLiteral("no PostgreSQL server for the server tests (run them under pg_virtualenv): ")
            + QString::fromUtf8(PQerrorMessage(connection)).trimmed();
    PQfinish(connection);
    return why;
}

ServerRoles testRoles(const QString &password)
{
    return {QStringLiteral("Adm"), password, QString::fromLatin1(defaultPupilsRole),
            QString::fromLatin1(defaultPupilsPassword)};
}

void dropRoles(const ServerRoles &roles)
{
    PlainServer admin{QString()};
    const QString error = admin.exec(QStringLiteral("DROP ROLE IF EXISTS %1, %2")
                                         .arg(quotedName(roles.administrator), quotedName(roles.pupils)));
    if (!error.isEmpty())
        qFatal("the test roles could not be dropped: %s", qPrintable(error));
}

QList<QStringList> refusingTrigger(const QString &schema, const QString &change, const QString &message)
{
    const QString name = QStringLiteral("recusa_") + change;
    if (!testingOnServer())
        return {{QStringLiteral("create trigger %1.%2 before %3 on db").arg(schema, name, change),
                 QStringLiteral("begin select raise(abort, '%1'); end").arg(message)}};
    return {{QStringLiteral("create function %1.%2() returns trigger language plpgsql").arg(schema, name),
             QStringLiteral("as 'begin raise exception ''%1''; end'").arg(message)},
            {QStringLiteral("create trigger %1 before %2 on %3.db").arg(name, change, schema),
             QStringLiteral("for each row execute function %1.%2()").arg(schema, name)}};
}

ServerDatabase::ServerDatabase()
{
    static int made = 0;
    m_name = QStringLiteral("jornada_teste_%1_%2").arg(::getpid()).arg(++made);
    // The database the PG* variables name is where databases are made and dropped. A database
    // in UTF-8 whatever the cluster was made with: the bank's texts are Windows-1252
    // characters, which SQL_ASCII would keep as bytes.
    PlainServer admin{QString()};
    const QString error =
        admin.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(quotedName(m_name)));
    if (!error.isEmpty())
        qFatal("the test database could not be made: %s", qPrintable(error));
}

ServerDatabase::~ServerDatabase()
{
    PlainServer admin{QString()};
    const QString error = admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(quotedName(m_name)));
    if (!error.isEmpty())
        qWarning("the test database %s could not be dropped: %s", qPrintable(m_name), qPrintable(error));
}

void ServerDatabase::shut()
{
    PlainServer admin{QString()};
    QCOMPARE(admin.exec(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(quotedName(m_name))), QString());
    const QStringList ended = admin.rows(QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity"
                                                        " WHERE datname = $1"),
                                         {m_name});
    QVERIFY2(ended.size() == 1 && !ended[0].startsWith(QLatin1String("error")), qPrintable(ended.join(QLatin1Char(' '))));
}

void ServerDatabase::open()
{
    PlainServer admin{QString()};
    QCOMPARE(admin.exec(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(quotedName(m_name))), QString());
}

ScratchBank::ScratchBank()
{
    if (testingOnServer())
        m_server = std::make_unique<ServerDatabase>();
}

ScratchBank::~ScratchBank() = default;

BankLocation ScratchBank::where() const
{
    return m_server ? BankLocation::server(m_server->connection()) : BankLocation::folder(m_dir.path());
}

QString ScratchBank::database() const { return m_server ? m_server->name() : QString(); }

QString ScratchBank::connection() const { return m_server ? m_server->connection() : QString(); }

PlainServer::PlainServer(const QString &connection)
    : m_connection(PQconnectdb(connection.toUtf8().constData()))
{
    PQsetClientEncoding(m_connection, "UTF8");
    // What the server notes in passing ("role does not exist, skipping") is no test's business.
    PQsetNoticeProcessor(m_connection, [](void *, const char *) {}, nullptr);
}

PlainServer::~PlainServer() { PQfinish(m_connection); }

namespace {

// Runs `sql` with `parameters` as texts; the result, for the caller to clear. Without parameters
// `sql` may be several statements, and the result is the last one's, or the failed one's.
PGresult *runWith(pg_conn *connection, const QString &sql, const QStringList &parameters)
{
    if (parameters.isEmpty())
        return PQexec(connection, sql.toUtf8().constData());
    QList<QByteArray> values;
    QList<const char *> pointers;
    for (const QString &parameter : parameters)
        values.append(parameter.toUtf8());
    for (const QByteArray &value : values)
        pointers.append(value.constData());
    return PQexecParams(connection, sql.toUtf8().constData(), int(pointers.size()), nullptr, pointers.constData(),
                        nullptr, nullptr, 0);
}

} // namespace

QString PlainServer::state(const QString &sql, const QStringList &parameters)
{
    PGresult *result = runWith(m_connection, sql, parameters);
    const ExecStatusType status = PQresultStatus(result);
    QString state;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const char *code = PQresultErrorField(result, PG_DIAG_SQLSTATE);
        state = code ? QString::fromLatin1(code) : QStringLiteral("(sem SQLSTATE: %1)").arg(PQerrorMessage(m_connection));
    }
    PQclear(result);
    return state;
}

QStringList PlainServer::rows(const QString &sql, const QStringList &parameters, int column)
{
    PGresult *result = runWith(m_connection, sql, parameters);
    QStringList found;
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
        found = {QStringLiteral("error: ") + QString::fromUtf8(PQresultErrorMessage(result)).trimmed()};
    } else {
        for (int row = 0; row < PQntuples(result); ++row)
            found.append(QString::fromUtf8(PQgetvalue(result, row, column)));
    }
    PQclear(result);
    return found;
}

QString PlainServer::exec(const QString &sql) { return runOn(m_connection, sql); }
