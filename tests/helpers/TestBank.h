#pragma once
// Where tests keep their banks. A test program over the table engine runs twice under CTest: on
// a folder, and with JORNADA_TESTE_BANCO=servidor (CTest label "servidor") on the PostgreSQL
// server that the PG* variables name, as pg_virtualenv sets them for the command it runs.
#include "store/BankLocation.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

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

// An empty bank of one test's own: a temporary folder, or on the server a database made for it
// and dropped with it (with whatever connections are still on it). Either way, folder() is a
// temporary folder for the test's other files.
class ScratchBank {
public:
    ScratchBank();
    ~ScratchBank();
    ScratchBank(const ScratchBank &) = delete;
    ScratchBank &operator=(const ScratchBank &) = delete;

    BankLocation where() const;
    QString folder() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    // On a server: the bank's database, and the connection string for another connection to it.
    QString database() const { return m_database; }
    QString connection() const;

private:
    QTemporaryDir m_dir;
    QString m_database; // on a server
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

private:
    pg_conn *m_connection = nullptr;
};
