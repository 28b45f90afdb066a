#pragma once
// Temporary data directories for tests: HOME points at a temporary folder, whose BDPerguntas
// holds the two tables, so the program finds them where it always looks.
#include "store/Setup.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

class ScreenWindow;

class TempDataDir {
public:
    // A data directory with `questionCount` questions numbered 1..N, each with a small photo,
    // and the account Adm / `password`.
    explicit TempDataDir(int questionCount = 25, const QString &password = QStringLiteral("1234"));
    ~TempDataDir();

    QString path() const;                 // the data directory
    QString file(const QString &name) const;
    QString photo() const { return m_photo; } // a small JPEG every question points at

    // Question `id` as the sample rows hold it: "Pergunta id", answers "A id".."D id", the
    // correct one chosen by id.
    static QuestionRow sampleQuestion(int id, const QString &photo);
    static QString correctAnswerOf(int id);
    static QString wrongAnswerOf(int id);

    void writeRecordFile(const QByteArray &bytes) const;
    QByteArray recordFileBytes() const;

private:
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    QString m_photo;
};

// The seven screens, created as start-up creates them, destroyed at the end of the scope.
class ScreenSet {
public:
    ScreenSet();
    ~ScreenSet();
    QString fatalReport; // empty when every table opened

    // The seven screens, in the order start-up creates them.
    static QList<ScreenWindow *> all();
};
