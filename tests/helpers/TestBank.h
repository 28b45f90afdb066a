#pragma once
// Where tests keep their banks. A test program over the table engine runs twice under CTest: on
// a folder, and with JORNADA_TESTE_BANCO=servidor (CTest label "servidor") on the PostgreSQL
// server that the PG* variables name, as pg_virtualenv sets them for the command it runs.
#include "store/bank/Bank.h"
#include "store/core/BankLocation.h"
#include "store/kinds/OpenBank.h"
#include "store/server/ServerRoles.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct pg_conn;

bool testingOnServer();

// Why this run's server cannot be used, or empty when it can, or when the run is on a folder.
QString serverUnavailable();

// For initTestCase: skips every test of a server run that has no server, saying why. Where a
// server must be there (JORNADA_EXIGIR_SERVIDOR, as tools/testar.sh sets it), that fails instead.
#define REQUIRE_TEST_SERVER()                                                                                          \
    do {                                                                                                               \
        const QString unavailable = serverUnavailable();                                                               \
        if (!unavailable.isEmpty()) {                                                                                  \
            if (qEnvironmentVariableIsSet("JORNADA_EXIGIR_SERVIDOR"))                                                  \
                QFAIL(qPrintable(unavailable));                                                                        \
            QSKIP(qPrintable(unavailable));                                                                            \
        }                                                                                                              \
    } while (false)

// For a test about the folder's own files (SQLite's, the file system's): skipped on a server.
#define FOLDER_ONLY(reason)                                                                                            \
    do {                                                                                                               \
        if (testingOnServer())                                                                                         \
            QSKIP("only a folder has this: " reason);                                                                  \
    } while (false)

// The value of this run's engine: `folder` on a folder, `server` on a server.
template <typename T>
T onEngine(const T &folder, const T &server)
{
    return testingOnServer() ? server : folder;
}

// A database of one test's own on the server, made empty and dropped with it (with whatever
// connections are still on it).
class ServerDatabase {
public:
    ServerDatabase();
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase &) = delete;
    ServerDatabase &operator=(const ServerDatabase &) = delete;

    QString name() const { return m_name; }
    QString connection() const { return QStringLiteral("dbname=") + m_name; }

    // While shut, the database takes no connection and the ones it had are ended, as when the
    // server is down: the game's next statement fails, and so does every attempt to connect
    // again until it is opened.
    void shut();
    void open();

private:
    QString m_name;
};

// The roles of a whole bank made for a test on the server (createServerBank): the administrator
// Adm with `password`, and the pupils' role that a server's set-up makes by default.
ServerRoles testRoles(const QString &password = QStringLiteral("1234"));
// Drops the roles `roles` names, if the server has them. Roles belong to the whole server, not to
// one database: a test's bank drops its roles with its database, so that the next test's bank can
// make them again.
void dropRoles(const ServerRoles &roles);

// The statements (each as its lines) that make table db of schema `schema` ("perguntas") refuse
// every `change` ("insert", "update") with the error `message`, by a trigger of this run's engine.
QList<QStringList> refusingTrigger(const QString &schema, const QString &change, const QString &message);

// An empty bank of one test's own: a temporary folder, or on the server a database of its own.
// Either way, folder() is a temporary folder for the test's other files.
class ScratchBank {
public:
    ScratchBank();
    ~ScratchBank();
    ScratchBank(const ScratchBank &) = delete;
    ScratchBank &operator=(const ScratchBank &) = delete;

    BankLocation where() const;
    std::shared_ptr<Bank> bank() const { return openBank(where()); }
    QString folder() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    // On a server: the bank's database, and the connection string for another connection to it.
    QString database() const;
    QString connection() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ServerDatabase> m_server;
};

// A connection of its own to a bank's database on the server, as psql or another program makes
// it: nothing of the game's is set on it.
class PlainServer {
public:
    explicit PlainServer(const QString &connection);
    ~PlainServer();
    PlainServer(const PlainServer &) = delete;
    PlainServer &operator=(const PlainServer &) = delete;

    // Runs one statement with `parameters` ($1, $2, ...) as texts; the given column of every row
    // ("" for a null), or "error: <message>".
    QStringList rows(const QString &sql, const QStringList &parameters = {}, int column = 0);
    // Runs statements that return no rows; the error text, or empty.
    QString exec(const QString &sql);
    // Runs one statement with `parameters` as texts, or statements without any; the SQLSTATE of
    // the error that stopped them ("42501"), or empty when they succeeded.
    QString state(const QString &sql, const QStringList &parameters = {});

private:
    pg_conn *m_connection = nullptr;
};
