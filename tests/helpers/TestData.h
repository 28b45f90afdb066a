#pragma once
// Temporary data directories for tests: HOME points at a temporary folder, whose BDPerguntas
// holds the two tables, so the program finds them where it always looks. In a run on a server
// (TestBank.h) the tables are in a database of the test's own instead, and the user's setting
// in the temporary HOME names it; BDPerguntas still holds the record file and the photos.
#include "store/bank/Bank.h"
#include "store/core/BankLocation.h"
#include "store/folder/FolderSetup.h"
#include "store/kinds/OpenBank.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class Jornada;
class ScreenWindow;
class ServerDatabase;

class TempDataDir {
public:
    // A data directory with `questionCount` questions numbered 1..N, each with a small photo,
    // and the account Adm / `password`. On a server, the whole bank with its roles
    // (testRoles(`password`)), which go with it.
    explicit TempDataDir(int questionCount = 25, const QString &password = QStringLiteral("1234"));
    ~TempDataDir();

    QString path() const;                 // the data directory
    QString file(const QString &name) const;
    BankLocation where() const;           // where the tables are: the data directory, or the server
    std::shared_ptr<Bank> bank() const { return openBank(where()); }
    ServerDatabase *server() const { return m_server.get(); } // on a server, the bank's database
    QString photo() const { return m_photo; } // the file of a small JPEG every question shows
    // What every question's Foto holds: the file's path on a folder, the photo's name in the bank
    // on a server.
    QString foto() const { return m_server ? QStringLiteral("foto.jpg") : m_photo; }

    // Question `id` as the sample rows hold it: "Pergunta id", answers "A id".."D id", the
    // correct one chosen by id.
    static Question sampleQuestion(int id, const QString &photo);
    static QString correctAnswerOf(int id);
    static QString wrongAnswerOf(int id);

    // The record as the file holds it. On a server, the bytes are read as the game reads a record
    // file and stored in the server's record, and the server's record is given back as the game
    // would write it to the file; a record that is not set is no bytes.
    void writeRecordFile(const QByteArray &bytes) const;
    QByteArray recordFileBytes() const;
    bool recordStored() const; // the file exists; on a server, a record is set

private:
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    QString m_photo;
    std::unique_ptr<ServerDatabase> m_server;
};

// The game with its seven screens, built over the bank in use as start-up builds it, destroyed at
// the end of the scope. jornada() reaches the one built last of those still alive.
class ScreenSet {
public:
    ScreenSet();
    ~ScreenSet();
    ScreenSet(const ScreenSet &) = delete;
    ScreenSet &operator=(const ScreenSet &) = delete;

    QString fatalReport; // empty when every table opened

    // The seven screens, in the order the game creates them.
    QList<ScreenWindow *> all() const;
    static QList<ScreenWindow *> screensOf(const Jornada &jornada);

private:
    std::unique_ptr<Jornada> m_jornada;
    ScreenSet *m_previous;

    friend Jornada &jornada();
};

// The game of the current ScreenSet; a test without one, or whose game could not be built, ends.
Jornada &jornada();

// The screens that exist now, wherever they came from: none once a game is destroyed.
QList<ScreenWindow *> screenWindowsAlive();
