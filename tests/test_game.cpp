// Whole games played through the screens' controls, with scripted dialogs.
#include "app/Jornada.h"
#include "game/GameSession.h"
#include "game/QuestionDraw.h"
#include "helpers/Play.h"
#include "helpers/ScriptedDialogs.h"
#include "helpers/TestBank.h"
#include "helpers/TestData.h"
#include "screens/Fonts.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"
#include "screens/Senha.h"
#include "store/tables/TableEngine.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QAccessible>
#include <QSet>
#include <QtTest>

using Kind = DialogBackend::Kind;

namespace {

const QString NewRecord = QStringLiteral("NOVO RECORDE!");
const QString Careless = QStringLiteral("Fique mais atento, você errou muitas questões!");
const QString NoMoreSkips = QStringLiteral("A partir de agora não pode mais pular! Boa sorte!");
const QString WrongAnswer = QStringLiteral("Resposta incorreta!");

void runSql(const BankLocation &where, const QStringList &lines)
{
    Query q(openBank(where));
    for (const QString &line : lines)
        q.add(line);
    q.execSql();
}

} // namespace

class GameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void scores_data();
    void scores();
    void recordTieIsANewRecord();
    void lowerScoreKeepsTheRecord();
    void negativeGameWithoutRecordFile();
    void longRecordNameIsShownCut();
    void unreadableRecordFileAtTheEnd();
    void numberLabelRunsOneToTwentyAndSkipsDoNotMoveIt();
    void skipLimit();
    void giveUp();
    void okWithoutAnswer();
    void skipReachesTheLargestNumberAfterDeletions();
    void bankTooSmall();
    void theNextGameBuiltFindsTheBankLetGo();
    void playAfterDeletionsSinceTheLastCount();
    void playAgainFromTheStartScreenStartsFromZero();
    void questionThatCannotBeFullyShown();
    void playAgain();
    void startScreen();
    void answerTextsAreComparedExactly();
    void longTextsEndAtAWholeWord();
};

void GameTest::initTestCase() { REQUIRE_TEST_SERVER(); }

void GameTest::scores_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("skips");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("shown");

    QTest::newRow("all right") << 20 << 0 << 0 << 100 << "100";
    QTest::newRow("8 right, 12 wrong, 2 skips") << 8 << 12 << 2 << 2 << "2";
    QTest::newRow("all wrong, 2 skips") << 0 << 20 << 2 << -62 << "0";
}

void GameTest::scores()
{
    QFETCH(int, right);
    QFETCH(int, wrong);
    QFETCH(int, skips);
    QFETCH(int, points);
    QFETCH(QString, shown);

    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::game(QStringLiteral("Ana"), right, wrong, skips);

    QVERIFY(jornada().FrmResult()->isVisible());
    QVERIFY(!jornada().FrmPerguntas()->isVisible());
    QCOMPARE(jornada().game().state().GamePoints, points);
    QCOMPARE(jornada().FrmResult()->LblCertas->text(), QString::number(right));
    QCOMPARE(jornada().FrmResult()->LblErradas->text(), QString::number(wrong));
    QCOMPARE(jornada().FrmResult()->LblNaoResp->text(), QString::number(skips));
    QCOMPARE(jornada().FrmResult()->LblPontos->text(), shown);
    QCOMPARE(jornada().FrmResult()->LblNome->text(), QStringLiteral("Ana"));
    QCOMPARE(dialogs->texts(Kind::Warn).count(WrongAnswer), wrong);
    QCOMPARE(dialogs->texts().contains(Careless), points < 0);
    QVERIFY(dialogs->texts(Kind::Error).isEmpty());
    // With no record file the record is 0: any game of 0 points or more sets it.
    QCOMPARE(dialogs->texts().contains(NewRecord), points >= 0);
}

void GameTest::recordTieIsANewRecord()
{
    TempDataDir data(30);
    data.writeRecordFile("Ana\r\n100\r\n");
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::game(QStringLiteral("Bia"), 20, 0);

    QVERIFY(dialogs->texts(Kind::Inform).contains(NewRecord));
    QCOMPARE(data.recordFileBytes(), QByteArray("Bia\r\n100\r\n"));
    QCOMPARE(jornada().FrmResult()->LblNomeRecord->text(), QStringLiteral("Bia"));
    QCOMPARE(jornada().FrmResult()->LblPontosRecord->text(), QStringLiteral("100"));
    QCOMPARE(jornada().game().state().RecordName, QStringLiteral("Bia"));
    // The start screen's record line waits for play again.
    QCOMPARE(jornada().FrmInicial()->LblRecordeAtual->text(), QStringLiteral("Ana - 100 pontos"));
}

void GameTest::lowerScoreKeepsTheRecord()
{
    TempDataDir data(30);
    data.writeRecordFile("Ana\r\n85\r\n");
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::game(QStringLiteral("Bia"), 15, 5); // 60 points

    QVERIFY(!dialogs->texts().contains(NewRecord));
    QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\n85\r\n"));
    QCOMPARE(jornada().FrmResult()->LblNomeRecord->text(), QStringLiteral("Ana"));
    QCOMPARE(jornada().FrmResult()->LblPontosRecord->text(), QStringLiteral("85"));
}

// A record file written by something else may hold a name of any length: it is read whole, but the
// start screen and the results screen show its first 23 characters and an ellipsis.
void GameTest::longRecordNameIsShownCut()
{
    TempDataDir data(30);
    data.writeRecordFile(QByteArray(1'000'000, '\xC7') + "\r\n85\r\n"); // Ç in Windows-1252
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    const QString shown = QString(23, QChar(0xC7)) + QChar(0x2026);
    QCOMPARE(jornada().game().state().RecordName, QString(1'000'000, QChar(0xC7)));
    QCOMPARE(jornada().FrmInicial()->LblRecordeAtual->text(), shown + QStringLiteral(" - 85 pontos"));

    Play::game(QStringLiteral("Bia"), 15, 5); // 60 points: the record stays
    QCOMPARE(jornada().FrmResult()->LblNomeRecord->text(), shown);
    QCOMPARE(jornada().game().state().RecordName.size(), 1'000'000);
}

void GameTest::negativeGameWithoutRecordFile()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::game(QStringLiteral("Caio"), 0, 20);

    QVERIFY(!dialogs->texts().contains(NewRecord));
    QCOMPARE(jornada().FrmResult()->LblNomeRecord->text(), QString());
    QCOMPARE(jornada().FrmResult()->LblPontosRecord->text(), QString());
    QVERIFY(!data.recordStored());
}

void GameTest::unreadableRecordFileAtTheEnd()
{
    FOLDER_ONLY("a damaged record file");
    TempDataDir data(30);
    data.writeRecordFile("Ana\r\n85\r\n");
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::start(QStringLiteral("Bia"));
    for (int i = 0; i < 19; ++i)
        Play::answer(true);
    data.writeRecordFile("Zé\r\nabc\r\n"); // damaged during the game
    Play::answer(true);

    QCOMPARE(dialogs->texts(Kind::Error), QStringList{QStringLiteral("Invalid numeric input")});
    // The game still ends, against the record held in memory (Ana, 85), which 100 beats.
    QVERIFY(jornada().FrmResult()->isVisible());
    QCOMPARE(jornada().FrmResult()->LblPontos->text(), QStringLiteral("100"));
    QVERIFY(dialogs->texts().contains(NewRecord));
    QCOMPARE(data.recordFileBytes(), QByteArray("Bia\r\n100\r\n"));
}

void GameTest::numberLabelRunsOneToTwentyAndSkipsDoNotMoveIt()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::start(QStringLiteral("Ana"));
    QStringList seen{jornada().FrmPerguntas()->LblQtePerg->text()};
    for (int i = 0; i < 19; ++i) {
        if (i == 4 || i == 19 - 1) {
            Play::skip();
            QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), seen.last());
        }
        Play::answer(i % 2 == 0);
        seen << jornada().FrmPerguntas()->LblQtePerg->text();
    }
    QStringList expected;
    for (int n = 1; n <= 20; ++n)
        expected << QString::number(n);
    QCOMPARE(seen, expected);
    const TGameState &state = jornada().game().state();
    QCOMPARE(state.RightCount + state.WrongCount, state.CurrentIndex);
}

void GameTest::skipLimit()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::start(QStringLiteral("Ana"));
    Play::answerButton(true)->setChecked(true);
    Play::skip();
    QVERIFY(dialogs->shown.isEmpty());
    QVERIFY(jornada().FrmPerguntas()->BtnPular->isEnabled());
    QVERIFY(!Play::answerButton(true)->isChecked() && !Play::answerButton(false)->isChecked());
    Play::skip();
    QCOMPARE(dialogs->texts(Kind::Inform), QStringList{NoMoreSkips});
    QVERIFY(!jornada().FrmPerguntas()->BtnPular->isEnabled());
    // Even asked directly, a third skip is not made.
    const QString question = jornada().FrmPerguntas()->LblPergunta->text();
    jornada().FrmPerguntas()->BtnPularClick();
    QCOMPARE(jornada().game().state().SkippedCount, 2);
    QCOMPARE(jornada().FrmPerguntas()->LblPergunta->text(), question);
    QCOMPARE(jornada().game().state().SkippedCount, 2);
    QCOMPARE(jornada().game().state().CurrentIndex, 0);

    // Play again enables it for the next game.
    for (int i = 0; i < 20; ++i)
        Play::answer(true);
    QCOMPARE(jornada().FrmResult()->LblNaoResp->text(), QStringLiteral("2"));
    jornada().FrmResult()->BtnJogarNovamente->click();
    QVERIFY(jornada().FrmPerguntas()->BtnPular->isEnabled());
    QCOMPARE(jornada().game().state().SkippedCount, 0);

    // And so does give up.
    Play::start(QStringLiteral("Bia"));
    Play::skip();
    Play::skip();
    QVERIFY(!jornada().FrmPerguntas()->BtnPular->isEnabled());
    dialogs->answerYes();
    jornada().FrmPerguntas()->BtnDesistir->click();
    QVERIFY(jornada().FrmPerguntas()->BtnPular->isEnabled());
}

void GameTest::giveUp()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    jornada().FrmInicial()->showScreen();
    Play::start(QStringLiteral("Ana"));
    Play::answer(true);
    Play::answer(false);
    Play::skip();
    const TGameState before = jornada().game().state();
    const QString question = jornada().FrmPerguntas()->LblPergunta->text();

    dialogs->answerNo();
    jornada().FrmPerguntas()->BtnDesistir->click();
    QCOMPARE(dialogs->shown.last().kind, Kind::Confirm);
    QCOMPARE(dialogs->shown.last().text, QStringLiteral("Tem certeza que deseja desistir?"));
    QVERIFY(jornada().FrmPerguntas()->isVisible());
    QCOMPARE(jornada().game().state().RightCount, before.RightCount);
    QCOMPARE(jornada().game().state().WrongCount, before.WrongCount);
    QCOMPARE(jornada().game().state().SkippedCount, before.SkippedCount);
    QCOMPARE(jornada().game().state().CurrentIndex, before.CurrentIndex);
    QCOMPARE(jornada().FrmPerguntas()->LblPergunta->text(), question);
    QCOMPARE(jornada().FrmInicial()->EdtNome->text(), QStringLiteral("Ana"));

    // The editor, open beside the game, goes too, and a start screen put away comes back.
    jornada().FrmCadastro()->showScreen();
    jornada().FrmInicial()->hide();
    dialogs->answerYes();
    jornada().FrmPerguntas()->BtnDesistir->click();
    QVERIFY(!jornada().FrmPerguntas()->isVisible());
    QVERIFY(!jornada().FrmCadastro()->isVisible());
    QVERIFY(jornada().FrmInicial()->isVisible());
    QCOMPARE(jornada().game().state().RightCount, 0);
    QCOMPARE(jornada().game().state().WrongCount, 0);
    QCOMPARE(jornada().game().state().SkippedCount, 0);
    QCOMPARE(jornada().game().state().CurrentIndex, 0);
    QCOMPARE(jornada().FrmInicial()->EdtNome->text(), QString());
    QVERIFY(!data.recordStored());
}

void GameTest::okWithoutAnswer()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::start(QStringLiteral("Ana"));
    const QString question = jornada().FrmPerguntas()->LblPergunta->text();
    jornada().FrmPerguntas()->BtnOK->click();
    QCOMPARE(dialogs->texts(Kind::Warn), QStringList{QStringLiteral("É necessário escolher uma alternativa")});
    QCOMPARE(jornada().game().state().CurrentIndex, 0);
    QCOMPARE(jornada().game().state().RightCount + jornada().game().state().WrongCount, 0);
    QCOMPARE(jornada().FrmPerguntas()->LblPergunta->text(), question);
    Play::answer(true);
    QCOMPARE(jornada().game().state().RightCount, 1);
    QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), QStringLiteral("2"));
    // The next question starts with no answer chosen: "OK" at once is refused again.
    jornada().FrmPerguntas()->BtnOK->click();
    QCOMPARE(dialogs->texts(Kind::Warn).size(), 2);
    QCOMPARE(jornada().game().state().CurrentIndex, 1);

    // After the answers were unchecked for the next question, they are still one group: checking
    // one unchecks the other.
    jornada().FrmPerguntas()->RBResp1->click();
    jornada().FrmPerguntas()->RBResp3->click();
    QVERIFY(!jornada().FrmPerguntas()->RBResp1->isChecked());
    QVERIFY(jornada().FrmPerguntas()->RBResp3->isChecked());
}

void GameTest::skipReachesTheLargestNumberAfterDeletions()
{
    TempDataDir data(25);
    runSql(data.where(), {QStringLiteral("delete from perguntas.db where id = 4")});
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::start(QStringLiteral("Ana"));
    random->next.enqueue(24); // the last of the numbers 1 to 25
    Play::skip();
    QCOMPARE(jornada().game().state().CandidateId, 25);
    QCOMPARE(jornada().FrmPerguntas()->LblPergunta->text(), QStringLiteral("Pergunta 25"));
    random->next << 3 << 4; // number 4 is a gap, so the next number drawn counts: 5
    Play::skip();
    QCOMPARE(jornada().game().state().CandidateId, 5);
    QVERIFY(random->next.isEmpty());
    QVERIFY(dialogs->texts(Kind::Error).isEmpty());
}

void GameTest::bankTooSmall()
{
    TempDataDir data(15);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;

    const QString refusal = BankTooSmallMessage(15);
    QVERIFY(refusal.contains(QStringLiteral("15 perguntas")));
    QVERIFY(refusal.contains(QStringLiteral("20")));
    QVERIFY(screens.fatalReport.isEmpty());
    QCOMPARE(dialogs->texts(Kind::Error), QStringList{refusal});

    Play::start(QStringLiteral("Ana"));
    QCOMPARE(dialogs->texts(Kind::Error), (QStringList{refusal, refusal}));
    QVERIFY(!jornada().FrmPerguntas()->isVisible());

    // Once the bank holds 20, Play counts again and the game starts.
    QList<Question> rows;
    for (int id = 16; id <= 20; ++id)
        rows << TempDataDir::sampleQuestion(id, data.foto());
    data.bank()->insertQuestions(rows);
    Play::start(QStringLiteral("Ana"));
    QVERIFY(jornada().FrmPerguntas()->isVisible());
    QCOMPARE(dialogs->texts(Kind::Error).size(), 2);
    QCOMPARE(BankTooSmallMessage(1).contains(QStringLiteral("1 pergunta,")), true);
}

void GameTest::theNextGameBuiltFindsTheBankLetGo()
{
    // A game built, played and destroyed, as in one run of the program, takes its screens with it
    // and lets go of the bank: the next one opens it, reads the record the first set and takes it.
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    SequenceRandomGuard random;
    {
        ScreenSet screens;
        Play::game(QStringLiteral("Ana"), 20, 0);
        QVERIFY(jornada().FrmResult()->isVisible());
    }
    QCOMPARE(screenWindowsAlive(), QList<ScreenWindow *>());

    ScreenSet screens;
    QCOMPARE(screens.fatalReport, QString());
    QCOMPARE(jornada().FrmInicial()->LblRecordeAtual->text(), QStringLiteral("Ana - 100 pontos"));
    Play::game(QStringLiteral("Bia"), 20, 0);
    QVERIFY(jornada().FrmResult()->isVisible());
    QCOMPARE(data.recordFileBytes(), QByteArray("Bia\r\n100\r\n"));
    QVERIFY(dialogs->texts(Kind::Error).isEmpty());
}

void GameTest::playAfterDeletionsSinceTheLastCount()
{
    TempDataDir data(25);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens; // counts 25
    runSql(data.where(), {QStringLiteral("delete from perguntas.db where id > 15")});

    // Play draws from the count of 25, finds the gap, counts again and refuses: no hang, and the
    // question screen does not stay up with an empty game.
    jornada().FrmInicial()->showScreen();
    Play::start(QStringLiteral("Ana"));
    QCOMPARE(dialogs->texts(Kind::Error),
             QStringList{QStringLiteral("O banco de perguntas tem apenas 15 perguntas, mas um jogo precisa de 20 "
                                        "perguntas diferentes. Cadastre mais perguntas para poder jogar.")});
    QVERIFY(!jornada().FrmPerguntas()->isVisible());
    QVERIFY(jornada().FrmInicial()->isVisible());

    // Questions added again: the next Play counts and starts.
    QList<Question> rows;
    for (int id = 16; id <= 22; ++id)
        rows << TempDataDir::sampleQuestion(id, data.foto());
    data.bank()->insertQuestions(rows);
    Play::start(QStringLiteral("Ana"));
    QVERIFY(jornada().FrmPerguntas()->isVisible());
    QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), QStringLiteral("1"));
    QCOMPARE(dialogs->texts(Kind::Error).size(), 1);
}

void GameTest::playAgainFromTheStartScreenStartsFromZero()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    // "Jogar" pressed again in the middle of a game, after both skips: a new game from zero.
    Play::start(QStringLiteral("Ana"));
    Play::skip();
    Play::skip();
    for (int i = 0; i < 10; ++i)
        Play::answer(true);
    QVERIFY(!jornada().FrmPerguntas()->BtnPular->isEnabled());
    Play::game(QStringLiteral("Bia"), 20, 0);
    QCOMPARE(jornada().FrmResult()->LblCertas->text(), QStringLiteral("20"));
    QCOMPARE(jornada().FrmResult()->LblNaoResp->text(), QStringLiteral("0"));
    QCOMPARE(jornada().FrmResult()->LblPontos->text(), QStringLiteral("100"));
    QCOMPARE(data.recordFileBytes(), QByteArray("Bia\r\n100\r\n"));

    // And straight from the results screen, without "Jogar Novamente".
    Play::game(QStringLiteral("Caio"), 20, 0);
    QCOMPARE(jornada().FrmResult()->LblPontos->text(), QStringLiteral("100"));
    QCOMPARE(data.recordFileBytes(), QByteArray("Caio\r\n100\r\n"));
    QVERIFY(dialogs->texts(Kind::Error).isEmpty());
}

void GameTest::questionThatCannotBeFullyShown()
{
    TempDataDir data(20);
    runSql(data.where(), {QStringLiteral("update perguntas.db set resp4 = null, foto = '/nao/existe.jpg' where id = 2")});
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    dialogs->shown.clear(); // the first game drawn at start-up may have met the broken question
    Play::start(QStringLiteral("Ana"));
    int right = 0;
    for (int i = 0; i < 20; ++i) {
        const bool broken = jornada().game().state().DrawnIds[jornada().game().state().CurrentIndex] == 2;
        if (broken) {
            QCOMPARE(jornada().FrmPerguntas()->LblPergunta->text(), QStringLiteral("Pergunta 2"));
            QCOMPARE(jornada().FrmPerguntas()->RBResp4->text(), QString());
        }
        Play::answer(true);
        ++right;
    }
    const QStringList errors = dialogs->texts(Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().contains(QStringLiteral("resp4")));
    QVERIFY(errors.first().contains(QStringLiteral("/nao/existe.jpg")));
    QCOMPARE(jornada().game().state().RightCount, 20);
    QVERIFY(jornada().FrmResult()->isVisible());
    QCOMPARE(jornada().FrmResult()->LblPontos->text(), QStringLiteral("100"));
}

void GameTest::playAgain()
{
    TempDataDir data(30);
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    QCOMPARE(jornada().FrmInicial()->LblRecordeAtual->text(), QStringLiteral("Não consta"));

    // A game with negative points sets no record; the record line keeps "Não consta".
    Play::game(QStringLiteral("Ana"), 0, 20);
    jornada().FrmResult()->BtnJogarNovamente->click();
    QCOMPARE(jornada().FrmInicial()->LblRecordeAtual->text(), QStringLiteral("Não consta"));
    QVERIFY(jornada().FrmInicial()->isVisible());
    QVERIFY(jornada().FrmResult()->isVisible()); // stays open behind the start screen
    QCOMPARE(jornada().FrmInicial()->EdtNome->text(), QString());

    Play::game(QStringLiteral("Bia"), 18, 2);
    QCOMPARE(jornada().FrmResult()->LblPontos->text(), QStringLiteral("84"));
    // Play again draws a new game and loads its first question into the hidden question screen:
    // the draw's first position is 6, the seventh question.
    random->next << 6 << 0 << 1 << 2 << 3 << 4 << 5 << 7 << 8 << 9 << 10 << 11 << 12 << 13 << 14 << 15 << 16 << 17
                 << 18 << 19;
    jornada().FrmResult()->BtnJogarNovamente->click();
    QCOMPARE(jornada().FrmInicial()->LblRecordeAtual->text(), QStringLiteral("Bia - 84 pontos"));
    QCOMPARE(jornada().FrmPerguntas()->LblPergunta->text(), QStringLiteral("Pergunta 7"));
    QCOMPARE(jornada().game().state().CurrentIndex, 0);

    // Play again with an empty name: refused, counters stay at 0.
    jornada().FrmInicial()->BtnJogar->click();
    QCOMPARE(dialogs->texts(Kind::Warn).last(), QStringLiteral("É necessário digitar um nome para jogar"));
    const TGameState &state = jornada().game().state();
    QCOMPARE(state.RightCount + state.WrongCount + state.SkippedCount, 0);
    QVERIFY(dialogs->texts(Kind::Error).isEmpty());

    // Finish answered No changes nothing; Yes closes six screens.
    dialogs->answerNo();
    jornada().FrmResult()->BtnEncerrar->click();
    QVERIFY(jornada().FrmResult()->isVisible());
    dialogs->answerYes();
    jornada().FrmResult()->BtnEncerrar->click();
    for (QWidget *w : QList<QWidget *>{jornada().FrmPerguntas(), jornada().FrmCadastro(), jornada().FrmResult(),
                                       jornada().FrmSenha(), jornada().FrmInicial()})
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void GameTest::startScreen()
{
    TempDataDir data(30);
    data.writeRecordFile("Ana\n85\n");
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    QCOMPARE(jornada().FrmInicial()->LblRecordeAtual->text(), QStringLiteral("Ana - 85 pontos"));
    QCOMPARE(jornada().FrmInicial()->EdtNome->maxLength(), 20);
    QVERIFY(!jornada().FrmInicial()->BtnJogar->isDefault() && !jornada().FrmInicial()->BtnJogar->autoDefault());

    jornada().FrmInicial()->showScreen();
    Play::start(QString());
    QCOMPARE(dialogs->texts(), QStringList{QStringLiteral("É necessário digitar um nome para jogar")});
    QVERIFY(!jornada().FrmPerguntas()->isVisible());

    Play::start(QStringLiteral("   "));
    QVERIFY(jornada().FrmPerguntas()->isVisible());
    QCOMPARE(jornada().game().state().PlayerName, QStringLiteral("   "));
    QCOMPARE(jornada().FrmPerguntas()->LblQtePerg->text(), QStringLiteral("1"));

    // Characters that the record file cannot hold cannot be typed.
    jornada().FrmInicial()->EdtNome->clear();
    jornada().FrmInicial()->EdtNome->insert(QStringLiteral("Zoë"));
    jornada().FrmInicial()->EdtNome->insert(QStringLiteral(" 😀"));
    jornada().FrmInicial()->EdtNome->insert(QStringLiteral("Ł"));
    QCOMPARE(jornada().FrmInicial()->EdtNome->text(), QStringLiteral("Zoë"));

    // The login screen comes up with "Adm" and an empty password, whatever was there before.
    jornada().FrmSenha()->EdtNome->setText(QStringLiteral("outro"));
    jornada().FrmSenha()->EdtSenha->setText(QStringLiteral("xyz"));
    jornada().FrmInicial()->CadPer->trigger();
    QVERIFY(jornada().FrmSenha()->isVisible());
    QCOMPARE(jornada().FrmSenha()->EdtNome->text(), QStringLiteral("Adm"));
    QCOMPARE(jornada().FrmSenha()->EdtSenha->text(), QString());

    dialogs->answerNo();
    jornada().FrmInicial()->Sair->trigger();
    QVERIFY(jornada().FrmInicial()->isVisible());
    QCOMPARE(dialogs->shown.last().kind, Kind::Confirm);
    QCOMPARE(dialogs->shown.last().text, QStringLiteral("Tem certeza que deseja sair?"));
}

void GameTest::answerTextsAreComparedExactly()
{
    TempDataDir data(20);
    runSql(data.where(), {QStringLiteral("update perguntas.db set resp1 = 'Tom & Jerry', resp2 = 'tom & jerry', "
                                        "resp3 = 'Tom & Jerry ', correta = 'Tom & Jerry'")});
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;

    Play::start(QStringLiteral("Ana"));
    QCOMPARE(TFrmPerguntas::AnswerOf(jornada().FrmPerguntas()->RBResp1), QStringLiteral("Tom & Jerry"));
    jornada().FrmPerguntas()->RBResp2->setChecked(true); // differs in case
    jornada().FrmPerguntas()->BtnOK->click();
    jornada().FrmPerguntas()->RBResp3->setChecked(true); // a trailing blank
    jornada().FrmPerguntas()->BtnOK->click();
    jornada().FrmPerguntas()->RBResp1->setChecked(true);
    jornada().FrmPerguntas()->BtnOK->click();
    QCOMPARE(jornada().game().state().WrongCount, 2);
    QCOMPARE(jornada().game().state().RightCount, 1);
}

void GameTest::longTextsEndAtAWholeWord()
{
    const QString question = QStringLiteral(
        "Qual é o nome do processo pelo qual as plantas verdes, as algas e algumas bactérias usam a energia da "
        "luz do Sol para transformar gás carbônico e água em glicose, liberando oxigênio para a atmosfera "
        "da Terra, como se vê em todas as florestas?").toUpper(); // in capitals: too long in any font
    const QString answer =
        QStringLiteral("Transformar gás carbônico e água em açúcar e oxigênio usando a luz do Sol durante o dia");
    registerGameFonts();
    TempDataDir data(20);
    runSql(data.where(), {QStringLiteral("update perguntas.db set pergunta = '%1 ' || cast(id as integer), resp1 = '%2', correta = '%2'")
                             .arg(question, answer)});
    ScriptedDialogsGuard dialogs;
    ScreenSet screens;
    SequenceRandomGuard random;
    Play::start(QStringLiteral("Ana"));

    // Each ends after a whole word, with "…", inside its place as the style draws it; a screen
    // reader has the whole text, and the whole text is what is judged.
    const auto endsAtAWord = [](const QString &shown, const QString &whole) {
        if (!shown.endsWith(QStringLiteral("…")))
            return false;
        const QString kept = shown.chopped(1);
        return whole.startsWith(kept) && kept.size() > 20 && !whole.at(kept.size()).isLetterOrNumber();
    };
    QRadioButton *button = jornada().FrmPerguntas()->RBResp1;
    QVERIFY2(endsAtAWord(button->text(), answer), qPrintable(button->text()));
    QStyleOptionButton option;
    option.initFrom(button);
    const int room = button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button).width();
    QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= room, qPrintable(QString::number(room)));
    QVERIFY(button->accessibleName().endsWith(answer));

    QLabel *label = jornada().FrmPerguntas()->LblPergunta;
    const QString whole = question + QLatin1Char(' ') + QString::number(jornada().game().state().DrawnIds[0]);
    QVERIFY2(endsAtAWord(label->text(), whole), qPrintable(label->text()));
    QVERIFY(label->heightForWidth(label->width()) <= label->height());
    const QString labelName = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
    QVERIFY2(labelName.startsWith(QStringLiteral("Pergunta 1 de 20: ") + whole + QLatin1Char('.')), qPrintable(labelName));

    button->setChecked(true);
    jornada().FrmPerguntas()->BtnOK->click();
    QCOMPARE(jornada().game().state().RightCount, 1);
}

QTEST_MAIN(GameTest)
#include "test_game.moc"
