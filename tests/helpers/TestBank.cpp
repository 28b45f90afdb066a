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

ScratchBank::ScratchBank()
{
    if (!testingOnServer())
        return;
    static int made = 0;
    m_database = QStringLiteral("jornada_teste_%1_%2").arg(::getpid()).arg(++made);
    // The database the PG* variables name is where databases are made and dropped.
    PlainServer admin{QString()};
    // A database in UTF-8 whatever the cluster was made with: the bank's texts are Windows-1252
    // characters, which SQL_ASCII would keep as bytes.
    const QString error = admin.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'")
                                         .arg(quotedName(m_database)));
    if (!error.isEmpty())
        qFatal("the test database could not be made: %s", qPrintable(error));
}

ScratchBank::~ScratchBank()
{
    if (m_database.isEmpty())
        return;
    PlainServer admin{QString()};
    const QString error = admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(quotedName(m_database)));
    if (!error.isEmpty())
        qWarning("the test database %s could not be dropped: %s", qPrintable(m_database), qPrintable(error));
}

BankLocation ScratchBank::where() const
{
    return m_database.isEmpty() ? BankLocation::folder(m_dir.path()) : BankLocation::server(connection());
}

QString ScratchBank::connection() const { return QStringLiteral("dbname=") + m_database; }

PlainServer::PlainServer(const QString &connection)
    : m_connection(PQconnectdb(connection.toUtf8().constData()))
{
    PQsetClientEncoding(m_connection, "UTF8");
}

PlainServer::~PlainServer() { PQfinish(m_connection); }

QStringList PlainServer::rows(const QString &sql, const QStringList &parameters, int column)
{
    QList<QByteArray> values;
    QList<const char *> pointers;
    for (const QString &parameter : parameters)
        values.append(parameter.toUtf8());
    for (const QByteArray &value : values)
        pointers.append(value.constData());
    PGresult *result = PQexecParams(m_connection, sql.toUtf8().constData(), int(pointers.size()), nullptr,
                                    pointers.constData(), nullptr, nullptr, 0);
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
