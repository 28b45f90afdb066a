// The rules of a game without any screen: the draw, the answer check, scoring, the record, the
// counters. Expected values come from the banks and files the tests write.
#include "game/GameState.h"
#include "game/Rules.h"
#include "helpers/Input.h"
#include "helpers/Play.h"
#include "helpers/TestData.h"
#include "store/RecordFile.h"
#include "store/RecordLock.h"
#include "store/TableEngine.h"

#include <QElapsedTimer>
#include <QDir>
#include <QHash>
#include <QTemporaryDir>
#include <QSet>
#include <QtTest>

#include <cmath>
#include <sqlite3.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void runSql(const QString &directory, const QString &statement)
{
    Query q(directory);
    q.add(statement);
    q.execSql();
}

// The statements the question screen gives the rules.
struct Statements {
    explicit Statements(const QString &directory) : count(directory), question(directory), position(directory) {}
    Query count, question, position;
};

QSet<int> drawnSet()
{
    return QSet<int>(GameState.DrawnIds.begin(), GameState.DrawnIds.end());
}

// Always the same position: a draw that could only end by luck never ends with it.
class StuckRandom final : public RandomSource {
public:
    int draw(int) override { return 0; }
};

// A second copy of the game, as a child process: when the pipe `start` is written to or closed, it settles a game of
// `points` against the record it read earlier (`knownRecord`) and exits with 1 when it took the
// record, 0 when it did not, 2 on an error.
pid_t finishInAnotherCopy(const int start[2], qint32 points, qint32 knownRecord, const QString &holder)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    ::close(start[1]);
    char go;
    if (::read(start[0], &go, 1) < 0)
        ::_exit(2);
    GameState.GamePoints = points;
    GameState.RecordPoints = knownRecord;
    try {
        const RecordClaim claim = ClaimRecord(holder);
        ::_exit(claim.writeError.isEmpty() ? int(claim.isNew) : 2);
    } catch (...) {
        ::_exit(2);
    }
}

int exitCodeOf(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

class RulesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { GameState = TGameState{}; }
    void drawsTwentyDistinctQuestionsThatExist_data();
    void drawsTwentyDistinctQuestionsThatExist();
    void drawAfterDeletionsSinceTheLastCount();
    void drawEndsOnABankThatRepeatsNumbers();
    void drawEndsWhateverTheRandomNumbers();
    void drawOutlastsLongRunsOfRepeats();
    void countFollowsEveryChange();
    void drawIsEvenOverABankWithGaps();
    void drawOfABankOfMostlyGaps();
    void readQuestionAndTheRightAnswer();
    void scoring_data();
    void scoring();
    void inconsistentCountersAreNotScored();
    void recordComparisonAndUpdate();
    void recordSettledUnderTheLock();
    void recordOfTwoCopiesFinishingTogether();
    void skipsAndReset();
};

void RulesTest::drawsTwentyDistinctQuestionsThatExist_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<QList<int>>("deleted");
    QTest::newRow("exactly 20") << 20 << QList<int>{};
    QTest::newRow("25 with gaps") << 25 << QList<int>{1, 7, 25};
    QTest::newRow("20 left of 23") << 23 << QList<int>{2, 12, 22};
}

void RulesTest::drawsTwentyDistinctQuestionsThatExist()
{
    QFETCH(int, bank);
    QFETCH(QList<int>, deleted);
    TempDataDir data(bank);
    for (int id : deleted)
        runSql(data.path(), QStringLiteral("delete from perguntas.db where id = %1").arg(id));
    QSet<int> existing;
    for (int id = 1; id <= bank; ++id)
        if (!deleted.contains(id))
            existing.insert(id);

    Statements s(data.path());
    CountQuestions(s.count);
    QCOMPARE(GameState.QuestionCount, existing.size());
    for (int round = 0; round < 5; ++round) {
        DrawQuestions(s.position, s.count);
        const QSet<int> drawn = drawnSet();
        QCOMPARE(drawn.size(), 20);
        QVERIFY(existing.contains(drawn));
        if (existing.size() == 20)
            QCOMPARE(drawn, existing);
        QVERIFY(drawn.contains(GameState.CandidateId));
    }
}

void RulesTest::drawAfterDeletionsSinceTheLastCount()
{
    TempDataDir data(25);
    Statements s(data.path());
    CountQuestions(s.count);
    QCOMPARE(GameState.QuestionCount, 25);

    // Four deleted since the count: the draw sees the gap, counts again and still draws 20.
    runSql(data.path(), QStringLiteral("delete from perguntas.db where id in (5, 6, 24, 25)"));
    DrawQuestions(s.position, s.count);
    QCOMPARE(GameState.QuestionCount, 21);
    QCOMPARE(drawnSet().size(), 20);
    QVERIFY(!drawnSet().intersects(QSet<int>{5, 6, 24, 25}));

    // Now only 15 are left, while the count says 21: refused with the number that is left, and
    // nothing drawn.
    runSql(data.path(), QStringLiteral("delete from perguntas.db where id <= 8"));
    QCOMPARE(errorOf([&] { DrawQuestions(s.position, s.count); }),
             QStringLiteral("O banco de perguntas tem apenas 15 perguntas, mas um jogo precisa de 20 perguntas "
                            "diferentes. Cadastre mais perguntas para poder jogar."));
    QCOMPARE(GameState.QuestionCount, 15);
    QCOMPARE(drawnSet(), QSet<int>{0});

    // With fewer than 20 at the count, no question is even looked at.
    runSql(data.path(), QStringLiteral("delete from perguntas.db"));
    CountQuestions(s.count);
    QVERIFY(errorOf([&] { DrawQuestions(s.position, s.count); }).contains(QStringLiteral("não tem nenhuma pergunta")));
}

void RulesTest::drawEndsOnABankThatRepeatsNumbers()
{
    // A table made by hand, without the unique index: 25 questions under 19 numbers.
    TempDataDir data(25);
    runSql(data.path(), QStringLiteral("drop index perguntas.IdNumero"));
    runSql(data.path(), QStringLiteral("update perguntas.db set id = id - 6 where id >= 20"));
    Statements s(data.path());
    CountQuestions(s.count);
    QCOMPARE(GameState.QuestionCount, 25);
    const QString refusal = errorOf([&] { DrawQuestions(s.position, s.count); });
    QVERIFY2(refusal.startsWith(QStringLiteral("O banco de perguntas tem apenas 19 perguntas")), qPrintable(refusal));
    QVERIFY(refusal.contains(QStringLiteral("mesmo número")));
    QCOMPARE(drawnSet(), QSet<int>{0});
}

void RulesTest::drawEndsWhateverTheRandomNumbers()
{
    TempDataDir data(25);
    Statements s(data.path());
    CountQuestions(s.count);
    auto previous = setRandomSource(std::make_unique<StuckRandom>());
    const QString error = errorOf([&] { DrawQuestions(s.position, s.count); });
    setRandomSource(std::move(previous));
    QCOMPARE(error, QStringLiteral("Não foi possível sortear as perguntas do jogo. Tente de novo."));
    QCOMPARE(drawnSet(), QSet<int>{0});
}

void RulesTest::drawOutlastsLongRunsOfRepeats()
{
    // A bank of exactly 20, where every place but the first is reached only after a long run of
    // repeats: each run is far longer than the runs after which the draw checks the bank, and
    // all of them together longer than the limit of a single run. The draw still ends with all 20.
    TempDataDir data(20);
    Statements s(data.path());
    CountQuestions(s.count);
    SequenceRandomGuard random;
    random->next << 0;
    for (int position = 1; position < 20; ++position) {
        for (int repeat = 0; repeat < 1100; ++repeat)
            random->next << 0;
        random->next << position;
    }
    DrawQuestions(s.position, s.count);
    QCOMPARE(GameState.DrawnIds[0], 1);
    QCOMPARE(GameState.DrawnIds[19], 20);
    QCOMPARE(drawnSet().size(), 20);
    QVERIFY(random->next.isEmpty());
}

namespace {

// A change made by another program: its own SQLite connection to the file.
void runSqlElsewhere(const QString &directory, const char *statement)
{
    sqlite3 *db = nullptr;
    const QByteArray file = QFile::encodeName(QDir(directory).filePath(QStringLiteral("Perguntas.DB")));
    QCOMPARE(sqlite3_open(file.constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

} // namespace

void RulesTest::countFollowsEveryChange()
{
    // The count is kept while the table does not change; every kind of change is seen.
    TempDataDir data(30);
    {
        Statements s(data.path());
        CountQuestions(s.count);
        QCOMPARE(GameState.QuestionCount, 30);
        // Through this program's connection.
        runSql(data.path(), QStringLiteral("delete from perguntas.db where id = 30"));
        CountQuestions(s.count);
        QCOMPARE(GameState.QuestionCount, 29);
        // Through another program's.
        runSqlElsewhere(data.path(), "delete from db where id in (1, 2)");
        CountQuestions(s.count);
        QCOMPARE(GameState.QuestionCount, 27);
        CountQuestions(s.count);
        QCOMPARE(GameState.QuestionCount, 27);
        // Even when the file is left with its size and modification time.
        const QByteArray file = QFile::encodeName(data.file(QStringLiteral("Perguntas.DB")));
        struct stat before {};
        QCOMPARE(::stat(file.constData(), &before), 0);
        runSqlElsewhere(data.path(), "delete from db where id = 4");
        const timespec times[2] = {before.st_atim, before.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, file.constData(), times, 0), 0);
        struct stat after {};
        QCOMPARE(::stat(file.constData(), &after), 0);
        QCOMPARE(after.st_size, before.st_size);
        CountQuestions(s.count);
        QCOMPARE(GameState.QuestionCount, 26);
    }
    // While no connection was open, and then on a connection opened anew.
    runSqlElsewhere(data.path(), "delete from db where id = 3");
    {
        Statements s(data.path());
        CountQuestions(s.count);
        QCOMPARE(GameState.QuestionCount, 25);
    }
    // Another bank, in another directory.
    TempDataDir second(22);
    Statements s(second.path());
    CountQuestions(s.count);
    QCOMPARE(GameState.QuestionCount, 22);
}

namespace {

// Pearson's chi-square of observed counts against the same expected count for each.
double chiSquare(const QHash<int, int> &observed, const QSet<int> &ids, double expected)
{
    double sum = 0;
    for (int id : ids) {
        const double d = observed.value(id) - expected;
        sum += d * d / expected;
    }
    return sum;
}

// The value that chi-square with `df` degrees of freedom exceeds with a chance of 1 in 1000
// (Wilson and Hilferty's approximation, z = 3.09).
double chiSquareBound(int df)
{
    const double a = 2.0 / (9.0 * df);
    return df * std::pow(1 - a + 3.09 * std::sqrt(a), 3);
}

} // namespace

void RulesTest::drawIsEvenOverABankWithGaps()
{
    // 200 numbers, of which every third and a run from 100 to 139 were deleted: 107 questions,
    // some right after a long gap. A question after a gap must come up no more often than any other.
    TempDataDir data(200);
    runSql(data.path(), QStringLiteral("delete from perguntas.db where id % 3 = 0 or id between 100 and 139"));
    QSet<int> existing;
    for (int id = 1; id <= 200; ++id)
        if (id % 3 != 0 && (id < 100 || id > 139))
            existing.insert(id);
    QCOMPARE(existing.size(), 107);

    Statements s(data.path());
    CountQuestions(s.count);
    SequenceRandomGuard random; // a fixed sequence: the same figures on every run
    QHash<int, int> first, all;
    const int games = 1000;
    for (int game = 0; game < games; ++game) {
        DrawQuestions(s.position, s.count);
        const QSet<int> drawn = drawnSet();
        QCOMPARE(drawn.size(), 20);
        QVERIFY(existing.contains(drawn));
        ++first[GameState.DrawnIds[0]];
        for (int id : GameState.DrawnIds)
            ++all[id];
    }
    // The first question of a game is one draw from the whole bank; all 20 together are drawn
    // without repeats, whose counts spread less than chi-square allows, never more.
    const double firstChi = chiSquare(first, existing, games / 107.0);
    const double allChi = chiSquare(all, existing, games * 20 / 107.0);
    QVERIFY2(firstChi < chiSquareBound(106), qPrintable(QString::number(firstChi)));
    QVERIFY2(allChi < chiSquareBound(106), qPrintable(QString::number(allChi)));

    // Skips draw from the same bank, just as evenly.
    QHash<int, int> skipped;
    for (int skip = 0; skip < 2000; ++skip) {
        GameState.SkippedCount = 0;
        RecordSkip(s.count, s.position);
        QVERIFY(existing.contains(GameState.CandidateId));
        ++skipped[GameState.CandidateId];
    }
    const double skipChi = chiSquare(skipped, existing, 2000 / 107.0);
    QVERIFY2(skipChi < chiSquareBound(106), qPrintable(QString::number(skipChi)));
}

void RulesTest::drawOfABankOfMostlyGaps()
{
    // Questions 1 to 30 and one numbered 100000: numbers are drawn by position here, and the
    // last question comes up too.
    TempDataDir data(31);
    runSql(data.path(), QStringLiteral("update perguntas.db set id = 100000 where id = 31"));
    Statements s(data.path());
    CountQuestions(s.count);
    SequenceRandomGuard random;
    bool lastDrawn = false;
    for (int game = 0; game < 40; ++game) {
        DrawQuestions(s.position, s.count);
        const QSet<int> drawn = drawnSet();
        QCOMPARE(drawn.size(), 20);
        for (int id : drawn)
            QVERIFY(id == 100000 || (id >= 1 && id <= 30));
        lastDrawn = lastDrawn || drawn.contains(100000);
    }
    QVERIFY(lastDrawn);
    // By position: the 31st place is the last question.
    random->next << 30;
    GameState.SkippedCount = 0;
    RecordSkip(s.count, s.position);
    QCOMPARE(GameState.CandidateId, 100000);

    // And a skip on a bank drawn by number lands only on numbers that are questions: 5 is a gap,
    // so the next number drawn counts.
    runSql(data.path(), QStringLiteral("update perguntas.db set id = 31 where id = 100000"));
    runSql(data.path(), QStringLiteral("delete from perguntas.db where id = 5"));
    random->next << 4 << 6;
    GameState.SkippedCount = 0;
    RecordSkip(s.count, s.position);
    QCOMPARE(GameState.CandidateId, 7);
    QVERIFY(random->next.isEmpty());
}

void RulesTest::readQuestionAndTheRightAnswer()
{
    TempDataDir data(22);
    runSql(data.path(), QStringLiteral("update perguntas.db set correta = null where id = 2"));
    runSql(data.path(), QStringLiteral("update perguntas.db set correta = 'a 3' where id = 3"));
    runSql(data.path(), QStringLiteral("update perguntas.db set resp2 = null, correta = null where id = 4"));
    Statements s(data.path());

    // A sound question: its texts as stored, and its right answer is right, exactly.
    QuestionRead read = ReadQuestion(s.question, 7);
    QVERIFY(read.found);
    QVERIFY(read.problems.isEmpty());
    QCOMPARE(read.pergunta, QStringLiteral("Pergunta 7"));
    QCOMPARE(read.answers, (std::array<QString, 4>{"A 7", "B 7", "C 7", "D 7"}));
    QCOMPARE(read.foto, data.photo());
    QVERIFY(AnswerIsRight(TempDataDir::correctAnswerOf(7)));
    QVERIFY(!AnswerIsRight(TempDataDir::wrongAnswerOf(7)));
    QVERIFY(!AnswerIsRight(TempDataDir::correctAnswerOf(7).toLower()));
    QVERIFY(!AnswerIsRight(TempDataDir::correctAnswerOf(7) + QLatin1Char(' ')));

    // A blank right answer: reported, and no answer is right, not even a blank one.
    read = ReadQuestion(s.question, 2);
    QCOMPARE(read.problems, QStringList{QStringLiteral("A pergunta número 2 tem campos em branco: correta.")});
    QVERIFY(!AnswerIsRight(QString()));
    QVERIFY(!AnswerIsRight(QStringLiteral("A 2")));

    // A right answer that is none of the four (it differs in case): reported, never right.
    read = ReadQuestion(s.question, 3);
    QCOMPARE(read.problems, QStringList{QStringLiteral("A resposta correta da pergunta número 3 não é nenhuma "
                                                       "das quatro alternativas: ela não pode ser acertada.")});
    for (const QString &answer : read.answers)
        QVERIFY(!AnswerIsRight(answer));

    // A blank answer and a blank right answer do not match.
    read = ReadQuestion(s.question, 4);
    QCOMPARE(read.answers[1], QString());
    QVERIFY(!AnswerIsRight(read.answers[1]));

    // A question deleted after it was drawn.
    read = ReadQuestion(s.question, 99);
    QVERIFY(!read.found);
    QCOMPARE(read.problems, QStringList{QStringLiteral("A pergunta número 99 não existe no banco de perguntas.")});
    QCOMPARE(GameState.CorrectAnswer, QString());
    QVERIFY(!AnswerIsRight(QString()));
}

void RulesTest::scoring_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<int>("points");
    QTest::newRow("all right") << 20 << 0 << 100;
    QTest::newRow("all wrong") << 0 << 0 << -60;
    QTest::newRow("all wrong, two skips") << 0 << 2 << -62;
    QTest::newRow("8 right, 2 skips") << 8 << 2 << 2;
    QTest::newRow("13 right, 1 skip") << 13 << 1 << 43;
}

void RulesTest::scoring()
{
    QFETCH(int, right);
    QFETCH(int, skipped);
    QFETCH(int, points);
    // The answers as a game gives them, one by one.
    for (int i = 0; i < 20; ++i) {
        QVERIFY(!GameIsOver());
        RecordAnswer(i < right);
    }
    QVERIFY(GameIsOver());
    QCOMPARE(GameState.RightCount, right);
    QCOMPARE(GameState.WrongCount, 20 - right);
    GameState.SkippedCount = skipped;
    ScoreGame();
    QCOMPARE(GameState.GamePoints, points);
}

void RulesTest::inconsistentCountersAreNotScored()
{
    // A game counted on top of another: refused, and the points of the last game stay.
    GameState.GamePoints = 7;
    const auto refused = [](int right, int wrong, int skipped) {
        GameState.RightCount = right;
        GameState.WrongCount = wrong;
        GameState.SkippedCount = skipped;
        return !errorOf([] { ScoreGame(); }).isEmpty();
    };
    QVERIFY(refused(30, 0, 0));
    QVERIFY(refused(10, 9, 0));
    QVERIFY(refused(20, 0, 3));
    QVERIFY(refused(21, -1, 0));
    QVERIFY(refused(20, 0, -1));
    QCOMPARE(GameState.GamePoints, 7);
    QVERIFY(!refused(20, 0, 2));
    QCOMPARE(GameState.GamePoints, 98);
}

void RulesTest::recordComparisonAndUpdate()
{
    TempDataDir data(20);
    // No record file: nothing read, a game of 0 points is a record, a negative one is not.
    QVERIFY(!ReloadRecord());
    GameState.GamePoints = 0;
    QVERIFY(IsNewRecord());
    GameState.GamePoints = -1;
    QVERIFY(!IsNewRecord());

    data.writeRecordFile("Ana\r\n85\r\n");
    QVERIFY(ReloadRecord());
    QCOMPARE(GameState.RecordName, QStringLiteral("Ana"));
    QCOMPARE(GameState.RecordPoints, 85);
    GameState.GamePoints = 84;
    QVERIFY(!IsNewRecord());
    GameState.GamePoints = 85; // a tie is a new record
    QVERIFY(IsNewRecord());
    SetNewRecord(QStringLiteral("Zoé"));
    QCOMPARE(data.recordFileBytes(), QByteArray("Zo\xE9\r\n85\r\n"));
    QCOMPARE(GameState.RecordName, QStringLiteral("Zoé"));

    // A damaged file is an error and leaves the record in memory as it was.
    data.writeRecordFile("Bia\r\nmuitos\r\n");
    QVERIFY(!errorOf([] { ReloadRecord(); }).isEmpty());
    QCOMPARE(GameState.RecordName, QStringLiteral("Zoé"));
    QCOMPARE(GameState.RecordPoints, 85);
}

void RulesTest::skipsAndReset()
{
    TempDataDir data(25);
    Statements s(data.path());
    SequenceRandomGuard random;
    random->next << 24 << 0;
    QVERIFY(!RecordSkip(s.count, s.position));
    QCOMPARE(GameState.CandidateId, 25);
    QCOMPARE(GameState.QuestionCount, 25);
    QVERIFY(RecordSkip(s.count, s.position)); // the second is the last allowed
    QCOMPARE(GameState.CandidateId, 1);
    QCOMPARE(GameState.SkippedCount, 2);

    RecordAnswer(true);
    RecordAnswer(false);
    ResetCounters();
    QCOMPARE(GameState.RightCount, 0);
    QCOMPARE(GameState.WrongCount, 0);
    QCOMPARE(GameState.CurrentIndex, 0);
    QCOMPARE(GameState.SkippedCount, 0);
    QCOMPARE(GameState.RecordPoints, 0);
    QCOMPARE(GameState.QuestionCount, 25); // what the next game draws from stays
}

void RulesTest::recordSettledUnderTheLock()
{
    TempDataDir data(0);
    int start[2];
    QCOMPARE(::pipe(start), 0);
    // The other copy is started before the lock is taken: a child would share its holder's lock.
    const pid_t other = finishInAnotherCopy(start, 84, 0, QStringLiteral("Lia"));
    QVERIFY(other > 0);
    {
        // This copy holds the record while the other finishes an 84-point game, having read no
        // record when its game ended; this copy then writes 100 points and lets go.
        const RecordLock lock(recordFilePath());
        QVERIFY(lock.held());
        QCOMPARE(::write(start[1], "g", 1), ssize_t(1));
        QTest::qWait(300);
        QVERIFY(!QFile::exists(recordFilePath()));
        WriteRecord(recordFilePath(), QStringLiteral("Ana"), 100);
    }
    // The other copy compared with the 100 points, not with what it knew.
    QCOMPARE(exitCodeOf(other), 0);
    QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\n100\r\n"));
    ::close(start[0]);
    ::close(start[1]);

    // In this copy too: the record on disk now wins over what the game had read.
    GameState.GamePoints = 90;
    GameState.RecordPoints = 0;
    const RecordClaim claim = ClaimRecord(QStringLiteral("Bia"));
    QVERIFY(!claim.isNew);
    QCOMPARE(GameState.RecordName, QStringLiteral("Ana"));
    QCOMPARE(GameState.RecordPoints, 100);
    QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\n100\r\n"));

    // A tie takes the record, and writes it.
    GameState.GamePoints = 100;
    QVERIFY(ClaimRecord(QStringLiteral("Caio")).isNew);
    QCOMPARE(data.recordFileBytes(), QByteArray("Caio\r\n100\r\n"));
}

void RulesTest::recordOfTwoCopiesFinishingTogether()
{
    TempDataDir data(0);
    for (int round = 0; round < 30; ++round) {
        data.writeRecordFile("Zeca\r\n10\r\n");
        int start[2];
        QCOMPARE(::pipe(start), 0);
        // Both read a record of 10 when their games ended; both are let go at the same moment.
        const pid_t low = finishInAnotherCopy(start, 84, 10, QStringLiteral("Lia"));
        const pid_t high = finishInAnotherCopy(start, 100, 10, QStringLiteral("Ana"));
        QVERIFY(low > 0 && high > 0);
        ::close(start[1]); // end of file wakes both
        const int lowTook = exitCodeOf(low);
        const int highTook = exitCodeOf(high);
        ::close(start[0]);
        QCOMPARE(highTook, 1);
        QVERIFY(lowTook == 0 || lowTook == 1); // 1 only when it came first
        QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\n100\r\n"));
    }
}

QTEST_GUILESS_MAIN(RulesTest)
#include "test_rules.moc"
