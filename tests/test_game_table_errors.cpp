// Games whose question bank fails under them: held by another program, or damaged mid-game. After
// every step the counters must agree with the number on the screen, and no answer may be counted
// for a question the player cannot see.
#include "app/Jornada.h"
#include "game/GameSession.h"
#include "helpers/PlainFile.h"
#include "helpers/Play.h"
#include "helpers/ScriptedDialogs.h"
#include "helpers/TestData.h"
#include "screens/Inicial.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"
#include "store/tables/TableEngine.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using Kind = DialogBackend::Kind;

namespace {

// The question on screen, from its text ("Pergunta 7"); 0 when none is shown.
int questionOnScreen()
{
    const QString text = jornada().FrmPerguntas()->LblPergunta->text();
    return text.startsWith(QLatin1String("Pergunta ")) ? text.mid(9).toInt() : 0;
}

bool answersEnabled()
{
    for (QRadioButton *b : jornada().FrmPerguntas()->findChildren<QRadioButton *>())
        if (!b->isEnabled())
            return false;
    return true;
}

// The agreement that must hold at every moment of a game.
void checkConsistent()
{
    const TGameState &state = jornada().game().state();
    QCOMPARE(state.RightCount + state.WrongCount, state.CurrentIndex);
    QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), QString::number(state.CurrentIndex + 1));
}

// Another program writing to the bank: it holds the whole file until release() or the end.
class BankHeld {
public:
    explicit BankHeld(const TempDataDir &data) : m_file(data.file(QStringLiteral("Perguntas.DB")))
    {
        QCOMPARE(m_file.exec(QStringLiteral("BEGIN EXCLUSIVE")), QString());
        m_held = true;
    }
    ~BankHeld() { release(); }
    void release()
    {
        if (m_held)
            m_file.exec(QStringLiteral("COMMIT"));
        m_held = false;
    }

private:
    PlainFile m_file;
    bool m_held = false;
};

void overwriteStart(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    QVERIFY(fd >= 0);
    QCOMPARE(::pwrite(fd, bytes.constData(), size_t(bytes.size()), 0), ssize_t(bytes.size()));
    ::close(fd);
}

} // namespace

class GameTableErrorsTest : public QObject {
    Q_OBJECT

private slots:

    void playRefusedWhileTheBankIsHeld();
    void heldMidGameCountsNothingUnseen();
    void heldOnTheLastAnswerStillEndsTheGame();
    void skipWhileHeldCostsNothing();
    void damagedMidGameStillEnds();
};

void GameTableErrorsTest::playRefusedWhileTheBankIsHeld()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    jornada().FrmInicial()->showScreen();
    {
        BankHeld held(data);
        Play::start(QStringLiteral("Ana"));
        QCOMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown.last().kind, Kind::Error);
        QVERIFY2(dialogs->shown.last().text.contains(TableInUseText), qPrintable(dialogs->shown.last().text));
        QVERIFY(dialogs->shown.last().text.contains(QLatin1String("database is locked")));
        QVERIFY(!jornada().FrmPerguntas()->isVisible());
        QVERIFY(jornada().FrmInicial()->isVisible());
    }
    // Once the other program lets go, "Jogar" starts a game as usual.
    Play::start(QStringLiteral("Ana"));
    QCOMPARE(dialogs->shown.size(), 1);
    QVERIFY(jornada().FrmPerguntas()->isVisible());
    QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), QStringLiteral("1"));
    QVERIFY(questionOnScreen() >= 1 && questionOnScreen() <= 30);
    // A game of 20 right answers scores what 20 right answers give, and no more.
    for (int i = 0; i < 20; ++i)
        Play::answer(true);
    QVERIFY(jornada().FrmResult()->isVisible());
    QCOMPARE(jornada().FrmResult()->LblPontos->text(), QStringLiteral("100"));
    QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\n100\r\n"));
}

void GameTableErrorsTest::heldMidGameCountsNothingUnseen()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    jornada().FrmInicial()->showScreen();
    Play::start(QStringLiteral("Bia"));
    QSet<int> seen{questionOnScreen()};
    for (int i = 0; i < 4; ++i) {
        Play::answer(true);
        seen.insert(questionOnScreen());
    }
    const int fifth = questionOnScreen();
    QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), QStringLiteral("5"));
    {
        BankHeld held(data);
        // The fifth answer counts; the sixth question cannot be read, and nothing of the fifth
        // stays on the screen to be answered again.
        Play::answer(false);
        checkConsistent();
        QCOMPARE(jornada().game().state().CurrentIndex, 5);
        QCOMPARE(jornada().game().state().WrongCount, 1);
        QCOMPARE(dialogs->texts(Kind::Error).size(), 1);
        QVERIFY(dialogs->texts(Kind::Error).last().contains(TableInUseText));
        QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), QStringLiteral("6"));
        QCOMPARE(questionOnScreen(), 0);
        QVERIFY(jornada().FrmPerguntas()->LblPergunta->text().contains(
            QLatin1String("Clique em \"OK\" para tentar de novo")));
        QVERIFY(!answersEnabled());
        QVERIFY(Play::answerButton(true) == nullptr);

        // "OK" again only tries to read it, and counts nothing.
        jornada().FrmPerguntas()->BtnOK->click();
        checkConsistent();
        QCOMPARE(jornada().game().state().CurrentIndex, 5);
        QCOMPARE(dialogs->texts(Kind::Error).size(), 2);
        QCOMPARE(dialogs->texts(Kind::Warn), QStringList{QStringLiteral("Resposta incorreta!")});
    }
    // Free again: "OK" shows the sixth question, a new one, and counts nothing.
    jornada().FrmPerguntas()->BtnOK->click();
    checkConsistent();
    QCOMPARE(jornada().game().state().CurrentIndex, 5);
    QCOMPARE(dialogs->texts(Kind::Error).size(), 2);
    QVERIFY(answersEnabled());
    QVERIFY(questionOnScreen() != 0);
    QVERIFY(questionOnScreen() != fifth);
    QVERIFY(!seen.contains(questionOnScreen()));

    // The rest of the game as usual: 19 right, 1 wrong.
    for (int i = 5; i < 20; ++i) {
        seen.insert(questionOnScreen());
        Play::answer(true);
        if (i < 19)
            checkConsistent();
    }
    QCOMPARE(seen.size(), 20);
    QVERIFY(jornada().FrmResult()->isVisible());
    QCOMPARE(jornada().FrmResult()->LblCertas->text(), QStringLiteral("19"));
    QCOMPARE(jornada().FrmResult()->LblErradas->text(), QStringLiteral("1"));
    QCOMPARE(data.recordFileBytes(), QByteArray("Bia\r\n92\r\n"));
}

void GameTableErrorsTest::heldOnTheLastAnswerStillEndsTheGame()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    jornada().FrmInicial()->showScreen();
    Play::start(QStringLiteral("Caio"));
    for (int i = 0; i < 19; ++i)
        Play::answer(true);
    QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), QStringLiteral("20"));
    BankHeld held(data);
    Play::answer(true);
    QCOMPARE(jornada().game().state().CurrentIndex, 20);
    QVERIFY(!jornada().FrmPerguntas()->isVisible());
    QVERIFY(jornada().FrmResult()->isVisible());
    QCOMPARE(jornada().FrmResult()->LblPontos->text(), QStringLiteral("100"));
    QCOMPARE(data.recordFileBytes(), QByteArray("Caio\r\n100\r\n"));
    // The bank's refusal was told; nothing else went wrong.
    QCOMPARE(dialogs->texts(Kind::Error).size(), 1);
    QVERIFY(dialogs->texts(Kind::Error).first().contains(TableInUseText));
}

void GameTableErrorsTest::skipWhileHeldCostsNothing()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    jornada().FrmInicial()->showScreen();
    Play::start(QStringLiteral("Davi"));
    Play::answer(true);
    const int second = questionOnScreen();
    {
        BankHeld held(data);
        Play::skip();
        QCOMPARE(jornada().game().state().SkippedCount, 0);
        QCOMPARE(questionOnScreen(), second);
        QVERIFY(answersEnabled());
        checkConsistent();
        QCOMPARE(dialogs->texts(Kind::Error).size(), 1);
    }
    // Both skips are still there afterwards.
    Play::skip();
    Play::skip();
    QCOMPARE(jornada().game().state().SkippedCount, 2);
    QVERIFY(!jornada().FrmPerguntas()->BtnPular->isEnabled());
}

void GameTableErrorsTest::damagedMidGameStillEnds()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    jornada().FrmInicial()->showScreen();
    Play::start(QStringLiteral("Eva"));
    for (int i = 0; i < 17; ++i)
        Play::answer(true);

    // The file is overwritten under the game: it is no table any more.
    overwriteStart(data.file(QStringLiteral("Perguntas.DB")), QByteArray(100, 'x'));
    Play::answer(true);
    checkConsistent();
    QCOMPARE(jornada().game().state().CurrentIndex, 18);
    QCOMPARE(questionOnScreen(), 0);
    const QStringList errors = dialogs->texts(Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QLatin1String("file is not a database")), qPrintable(errors.first()));
    QVERIFY(!errors.first().contains(TableInUseText));

    // The two questions left can never be read: each "OK" says so, and the game cannot be
    // finished by answering what is not there. Giving up still works.
    jornada().FrmPerguntas()->BtnOK->click();
    jornada().FrmPerguntas()->BtnOK->click();
    checkConsistent();
    QCOMPARE(jornada().game().state().CurrentIndex, 18);
    QCOMPARE(dialogs->texts(Kind::Error).size(), 3);
    QVERIFY(jornada().FrmPerguntas()->isVisible());
    dialogs->answerYes();
    jornada().FrmPerguntas()->BtnDesistir->click();
    QVERIFY(!jornada().FrmPerguntas()->isVisible());
    QVERIFY(jornada().FrmInicial()->isVisible());
    QVERIFY(!QFile::exists(data.file(QStringLiteral("Recorde.txt"))));
}

QTEST_MAIN(GameTableErrorsTest)
#include "test_game_table_errors.moc"
