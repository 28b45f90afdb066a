// A game played through its session, without screens: the draw, the answer check, skips, scoring
// and the record. Expected values come from the banks and files the tests write: question n's
// right answer is TempDataDir::correctAnswerOf(n), and a draw by number turns the random number
// k into question k + 1 on a bank numbered from 1.
#include "game/GameSession.h"
#include "game/QuestionDraw.h"
#include "helpers/Input.h"
#include "helpers/Play.h"
#include "helpers/TestBank.h"
#include "helpers/TestData.h"
#include "platform/Random.h"
#include "store/kinds/OpenBank.h"
#include "store/core/BankInUse.h"
#include "store/core/DataDir.h"
#include "store/bank/QuestionBank.h"
#include "store/folder/RecordFile.h"
#include "store/folder/RecordLock.h"
#include "store/bank/RecordStore.h"
#include "store/tables/TableEngine.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QtTest>

#include <cmath>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void runSql(const BankLocation &where, const QString &statement)
{
    Query(openBank(where)).run({statement});
}

// A change made by another program: its own SQLite connection to the file.
void runSqlElsewhere(const QString &directory, const char *statement)
{
    sqlite3 *db = nullptr;
    const QByteArray file = QFile::encodeName(QDir(directory).filePath(QStringLiteral("Perguntas.DB")));
    QCOMPARE(sqlite3_open(file.constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// The question bank cannot be read while one of these lives: its table file holds bytes that are
// no table, or its server lets no one in.
class UnreadableBank {
public:
    explicit UnreadableBank(const TempDataDir &data) : m_data(data), m_file(data.file(QStringLiteral("Perguntas.DB")))
    {
        if (data.server()) {
            data.server()->shut();
            return;
        }
        m_table = readFile(m_file);
        writeFile(m_file, QByteArray(4096, 'x'));
    }
    ~UnreadableBank()
    {
        if (m_data.server())
            m_data.server()->open();
        else
            writeFile(m_file, m_table);
    }
    UnreadableBank(const UnreadableBank &) = delete;
    UnreadableBank &operator=(const UnreadableBank &) = delete;

private:
    const TempDataDir &m_data;
    QString m_file;
    QByteArray m_table;
};

// A session over the tables and the record of a bank, as the program makes it.
struct Session {
    explicit Session(const BankLocation &where) : bank(openBank(where)), record(openBank(where)->record()), game(bank, *record)
    {
        bank.open();
    }
    TableQuestionBank bank;
    std::unique_ptr<RecordStore> record;
    GameSession game;
};

// Another program holds the record while one of these lives, as a copy of the game settling it
// does: the record file's lock, or on a server the record's row in a transaction of its own.
class HeldRecord {
public:
    explicit HeldRecord(const TempDataDir &data)
    {
        if (data.server()) {
            m_server = std::make_unique<PlainServer>(data.server()->connection());
            QCOMPARE(m_server->exec(QStringLiteral("BEGIN")), QString());
            QCOMPARE(m_server->rows(QStringLiteral("SELECT nome FROM recorde.db FOR UPDATE")).size(), 1);
            return;
        }
        m_lock = std::make_unique<RecordLock>(recordFilePath());
        QVERIFY(m_lock->held());
    }
    ~HeldRecord()
    {
        if (m_server)
            m_server->exec(QStringLiteral("COMMIT"));
    }
    HeldRecord(const HeldRecord &) = delete;
    HeldRecord &operator=(const HeldRecord &) = delete;

    // Stores a record as the holder, before letting go.
    void write(const QString &name, qint32 points)
    {
        if (m_server)
            QCOMPARE(m_server->rows(QStringLiteral("UPDATE recorde.db SET nome = $1, pontos = $2 RETURNING 1"),
                                    {name, QString::number(points)}),
                     QStringList{QStringLiteral("1")});
        else
            WriteRecord(recordFilePath(), name, points);
    }

private:
    std::unique_ptr<RecordLock> m_lock;
    std::unique_ptr<PlainServer> m_server;
};

QSet<int> drawnSet(const TGameState &state)
{
    return QSet<int>(state.DrawnIds.begin(), state.DrawnIds.end());
}

// The place of the answer whose text is `text` on the question shown, or -1.
int choiceOf(const QuestionView &question, const QString &text)
{
    const auto it = std::find(question.answers.begin(), question.answers.end(), text);
    return it == question.answers.end() ? -1 : int(it - question.answers.begin());
}

// Answers the question on screen right or wrong, by the texts the test data gives it.
AnswerOutcome answer(GameSession &game, const QuestionView &question, bool right)
{
    const QString text = right ? TempDataDir::correctAnswerOf(question.id) : TempDataDir::wrongAnswerOf(question.id);
    return game.answer(choiceOf(question, text));
}

// A whole game: `skips` skips at the first question, then `right` right answers and wrong ones
// up to 20.
GameResult playWhole(GameSession &game, const QString &name, int right, int skips = 0)
{
    QuestionView question = game.start(name).first;
    for (int i = 0; i < skips; ++i)
        question = game.skip()->question;
    for (int i = 0; i < QuestionsPerGame; ++i) {
        AnswerOutcome outcome = answer(game, question, i < right);
        if (outcome.result)
            return *outcome.result;
        question = *outcome.next;
    }
    qFatal("a game of 20 answers did not end");
}

// Always the same number: a draw that could only end by luck never ends with it.
class StuckRandom final : public RandomSource {
public:
    int draw(int) override { return 0; }
};

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

// A second copy of the game, as a child process on the same data: when the pipe `start` is
// written to or closed, it plays a whole game of `right` right answers as `name` and exits with 1
// when the game took the record, 0 when it did not, 2 on an error.
pid_t playInAnotherCopy(const int start[2], int right, const QString &name)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    ::close(start[1]);
    char go;
    if (::read(start[0], &go, 1) < 0)
        ::_exit(2);
    try {
        Session s(bankInUse());
        const GameResult result = playWhole(s.game, name, right);
        ::_exit(result.recordError.isEmpty() ? int(result.newRecord) : 2);
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

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void drawsTwentyDistinctQuestionsThatExist_data();
    void drawsTwentyDistinctQuestionsThatExist();
    void drawAfterDeletionsSinceTheLastCount();
    void drawsThatCannotFinishAreRefused_data();
    void drawsThatCannotFinishAreRefused();
    void drawOutlastsLongRunsOfRepeats();
    void countFollowsEveryChange();
    void drawIsEvenOverABankWithGaps();
    void drawOfABankOfMostlyGaps();
    void clockSeededDrawsShowNoPattern();
    void questionsAsShownAndJudged_data();
    void questionsAsShownAndJudged();
    void gameOverTwentyAnswers();
    void bankTooSmallChangesNothing();
    void skips();
    void giveUpAndPlayAgainStartFromZero();
    void scoringAndRecord_data();
    void scoringAndRecord();
    void recordSettledUnderTheLock();
    void recordOfTwoCopiesFinishingTogether();
    void highestOfThirtyCopiesFinishingTogether();
};

void SessionTest::initTestCase() { REQUIRE_TEST_SERVER(); }

void SessionTest::drawsTwentyDistinctQuestionsThatExist_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<QList<int>>("deleted");
    QTest::newRow("exactly 20") << 20 << QList<int>{};
    QTest::newRow("25 with gaps") << 25 << QList<int>{1, 7, 25};
    QTest::newRow("20 left of 23") << 23 << QList<int>{2, 12, 22};
}

void SessionTest::drawsTwentyDistinctQuestionsThatExist()
{
    QFETCH(int, bank);
    QFETCH(QList<int>, deleted);
    TempDataDir data(bank);
    for (int id : deleted)
        runSql(data.where(), QStringLiteral("delete from perguntas.db where id = %1").arg(id));
    QSet<int> existing;
    for (int id = 1; id <= bank; ++id)
        if (!deleted.contains(id))
            existing.insert(id);

    // The real, clock-seeded generator.
    Session s(data.where());
    for (int round = 0; round < 5; ++round) {
        const NewGame game = round == 0 ? s.game.prepare() : s.game.start(QStringLiteral("Ana"));
        const TGameState &state = s.game.state();
        QCOMPARE(state.QuestionCount, existing.size());
        const QSet<int> drawn = drawnSet(state);
        QCOMPARE(drawn.size(), 20);
        QVERIFY(existing.contains(drawn));
        if (existing.size() == 20)
            QCOMPARE(drawn, existing);
        // The first question is the first drawn, and every photo of the game is handed on.
        QVERIFY(drawn.contains(game.first.id));
        QCOMPARE(game.first.place, 1);
        QCOMPARE(game.photos, QStringList(20, data.foto()));
    }
}

void SessionTest::drawAfterDeletionsSinceTheLastCount()
{
    TempDataDir data(25);
    Session s(data.where());
    s.game.prepare();
    QCOMPARE(s.game.state().QuestionCount, 25);

    // Four deleted since the count: the draw sees the gap, counts again and still draws 20.
    runSql(data.where(), QStringLiteral("delete from perguntas.db where id in (5, 6, 24, 25)"));
    s.game.start(QStringLiteral("Ana"));
    QCOMPARE(s.game.state().QuestionCount, 21);
    QCOMPARE(drawnSet(s.game.state()).size(), 20);
    QVERIFY(!drawnSet(s.game.state()).intersects(QSet<int>{5, 6, 24, 25}));

    // Now only 15 are left, while the count says 21: refused with the number that is left, and
    // nothing drawn.
    runSql(data.where(), QStringLiteral("delete from perguntas.db where id <= 8"));
    QCOMPARE(errorOf([&] { s.game.start(QStringLiteral("Ana")); }),
             QStringLiteral("O banco de perguntas tem apenas 15 perguntas, mas um jogo precisa de 20 perguntas "
                            "diferentes. Cadastre mais perguntas para poder jogar."));
    QCOMPARE(s.game.state().QuestionCount, 15);
    QCOMPARE(drawnSet(s.game.state()), QSet<int>{0});
}

void SessionTest::drawsThatCannotFinishAreRefused_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<bool>("stuck");
    QTest::addColumn<QString>("refusal");
    // A table made by hand, without the unique index: 25 questions under 19 numbers.
    QTest::newRow("numbers repeated")
        << QStringList{"drop index perguntas.IdNumero", "update perguntas.db set id = id - 6 where id >= 20"}
        << false
        << QStringLiteral("O banco de perguntas tem apenas 19 perguntas, mas um jogo precisa de 20 perguntas "
                          "diferentes. Cadastre mais perguntas para poder jogar. (Há perguntas com o mesmo número.)");
    QTest::newRow("random numbers that never change") << QStringList{} << true
                                                      << QStringLiteral("Não foi possível sortear as perguntas do "
                                                                        "jogo. Tente de novo.");
    QTest::newRow("empty bank") << QStringList{"delete from perguntas.db"} << false
                                << QStringLiteral("O banco de perguntas não tem nenhuma pergunta, mas um jogo precisa "
                                                  "de 20 perguntas diferentes. Cadastre mais perguntas para poder "
                                                  "jogar.");
}

void SessionTest::drawsThatCannotFinishAreRefused()
{
    QFETCH(QStringList, changes);
    QFETCH(bool, stuck);
    QFETCH(QString, refusal);
    TempDataDir data(25);
    for (const QString &change : changes)
        runSql(data.where(), change);
    Session s(data.where());
    auto previous = stuck ? setRandomSource(std::make_unique<StuckRandom>()) : nullptr;
    QCOMPARE(errorOf([&] { s.game.prepare(); }), refusal);
    if (stuck)
        setRandomSource(std::move(previous));
    QCOMPARE(drawnSet(s.game.state()), QSet<int>{0});
}

void SessionTest::drawOutlastsLongRunsOfRepeats()
{
    // A bank of exactly 20, where every place but the first is reached only after a long run of
    // repeats: each run is far longer than the runs after which the draw checks the bank, and
    // all of them together longer than the limit of a single run. The draw still ends with all 20.
    TempDataDir data(20);
    Session s(data.where());
    SequenceRandomGuard random;
    random->next << 0;
    for (int position = 1; position < 20; ++position) {
        for (int repeat = 0; repeat < 1100; ++repeat)
            random->next << 0;
        random->next << position;
    }
    const NewGame game = s.game.prepare();
    QCOMPARE(game.first.id, 1);
    QCOMPARE(s.game.state().DrawnIds[19], 20);
    QCOMPARE(drawnSet(s.game.state()).size(), 20);
    QVERIFY(random->next.isEmpty());
}

void SessionTest::countFollowsEveryChange()
{
    FOLDER_ONLY("the table file, changed by another SQLite connection and by its times");
    // The count is kept while the table does not change; every kind of change is seen.
    TempDataDir data(30);
    {
        TableQuestionBank bank(data.bank());
        QCOMPARE(bank.count(), 30);
        // Through this program's connection.
        runSql(data.where(), QStringLiteral("delete from perguntas.db where id = 30"));
        QCOMPARE(bank.count(), 29);
        // Through another program's.
        runSqlElsewhere(data.path(), "delete from db where id in (1, 2)");
        QCOMPARE(bank.count(), 27);
        QCOMPARE(bank.count(), 27);
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
        QCOMPARE(bank.count(), 26);
    }
    // While no connection was open, and then on a connection opened anew.
    runSqlElsewhere(data.path(), "delete from db where id = 3");
    QCOMPARE(TableQuestionBank(openBank(data.path())).count(), 25);
    // Another bank, in another directory, keeps a count of its own.
    TempDataDir second(22);
    TableQuestionBank other(openBank(second.path()));
    QCOMPARE(other.count(), 22);
    QCOMPARE(TableQuestionBank(openBank(data.path())).count(), 25);
}

void SessionTest::drawIsEvenOverABankWithGaps()
{
    // 200 numbers, of which every third and a run from 100 to 139 were deleted: 107 questions,
    // some right after a long gap. A question after a gap must come up no more often than any other.
    TempDataDir data(200);
    runSql(data.where(), QStringLiteral("delete from perguntas.db where cast(id as integer) % 3 = 0 or id between 100 and 139"));
    QSet<int> existing;
    for (int id = 1; id <= 200; ++id)
        if (id % 3 != 0 && (id < 100 || id > 139))
            existing.insert(id);
    QCOMPARE(existing.size(), 107);

    TableQuestionBank bank(data.bank());
    TGameState state;
    state.QuestionCount = bank.count();
    SequenceRandomGuard random; // a fixed sequence: the same figures on every run
    QHash<int, int> first, all;
    const int games = 1000;
    for (int game = 0; game < games; ++game) {
        DrawQuestions(bank, state);
        const QSet<int> drawn = drawnSet(state);
        QCOMPARE(drawn.size(), 20);
        QVERIFY(existing.contains(drawn));
        ++first[state.DrawnIds[0]];
        for (int id : state.DrawnIds)
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
        const qint32 id = QuestionPicker(bank).pick(state.QuestionCount);
        QVERIFY(existing.contains(id));
        ++skipped[id];
    }
    const double skipChi = chiSquare(skipped, existing, 2000 / 107.0);
    QVERIFY2(skipChi < chiSquareBound(106), qPrintable(QString::number(skipChi)));
}

void SessionTest::clockSeededDrawsShowNoPattern()
{
    // The game's own source, fed a clock that ticks in equal steps as a tight loop reads it. A
    // pattern shows between one number and the next, so the pairs of successive numbers must
    // spread as chance does: within one source, and between sources seeded a tick apart (copies
    // of the game started together).
    constexpr int Range = 6;
    constexpr int Draws = 36000;
    std::uint64_t now = 1'765'000'000'000'000'000ull;
    const auto clock = [&now] { return now += 1000; };
    const auto pairsChi = [](const std::function<int()> &next) {
        QHash<int, int> pairs;
        QSet<int> cells;
        for (int cell = 0; cell < Range * Range; ++cell)
            cells.insert(cell);
        int previous = next();
        for (int i = 0; i < Draws; ++i) {
            const int value = next();
            ++pairs[previous * Range + value];
            previous = value;
        }
        return chiSquare(pairs, cells, double(Draws) / (Range * Range));
    };
    auto source = makeClockSeededRandom(clock);
    const double within = pairsChi([&] { return source->draw(Range); });
    const double between = pairsChi([&] { return makeClockSeededRandom(clock)->draw(Range); });
    QVERIFY2(within < chiSquareBound(Range * Range - 1), qPrintable(QString::number(within)));
    QVERIFY2(between < chiSquareBound(Range * Range - 1), qPrintable(QString::number(between)));
    // A coarse clock reads the same between draws: the numbers still vary.
    auto frozen = makeClockSeededRandom([] { return std::uint64_t(42); });
    QSet<int> seen;
    for (int i = 0; i < 100; ++i)
        seen.insert(frozen->draw(1000));
    QVERIFY2(seen.size() > 80, qPrintable(QString::number(seen.size())));

    // What a player sees: on a bank of 25, a game never opens as the one before it did.
    TempDataDir data(25);
    TableQuestionBank bank(data.bank());
    TGameState state;
    state.QuestionCount = bank.count();
    auto previousSource = setRandomSource(makeClockSeededRandom(clock));
    QList<qint32> opening;
    int repeatedOpenings = 0;
    for (int game = 0; game < 300; ++game) {
        DrawQuestions(bank, state);
        const QList<qint32> first(state.DrawnIds.begin(), state.DrawnIds.begin() + 3);
        repeatedOpenings += first == opening;
        opening = first;
    }
    setRandomSource(std::move(previousSource));
    QCOMPARE(repeatedOpenings, 0);
}

void SessionTest::drawOfABankOfMostlyGaps()
{
    // Questions 1 to 30 and one numbered 100000: numbers are drawn by position here, and the
    // last question comes up too.
    TempDataDir data(31);
    runSql(data.where(), QStringLiteral("update perguntas.db set id = 100000 where id = 31"));
    Session s(data.where());
    SequenceRandomGuard random;
    bool lastDrawn = false;
    for (int game = 0; game < 40; ++game) {
        s.game.start(QStringLiteral("Ana"));
        const QSet<int> drawn = drawnSet(s.game.state());
        QCOMPARE(drawn.size(), 20);
        for (int id : drawn)
            QVERIFY(id == 100000 || (id >= 1 && id <= 30));
        lastDrawn = lastDrawn || drawn.contains(100000);
    }
    QVERIFY(lastDrawn);
    // By position: the 31st place is the last question.
    random->next << 30;
    QCOMPARE(s.game.skip()->question.id, 100000);

    // And a skip on a bank drawn by number lands only on numbers that are questions: 5 is a gap,
    // so the next number drawn counts.
    runSql(data.where(), QStringLiteral("update perguntas.db set id = 31 where id = 100000"));
    runSql(data.where(), QStringLiteral("delete from perguntas.db where id = 5"));
    random->next << 4 << 6;
    QCOMPARE(s.game.skip()->question.id, 7);
}

void SessionTest::questionsAsShownAndJudged_data()
{
    QTest::addColumn<QString>("change");   // made to question 7 before the game
    QTest::addColumn<QString>("answered"); // the text chosen
    QTest::addColumn<bool>("right");
    QTest::addColumn<QStringList>("problems");
    const QString right = TempDataDir::correctAnswerOf(7), wrong = TempDataDir::wrongAnswerOf(7);
    QTest::newRow("right answer") << QString() << right << true << QStringList{};
    QTest::newRow("wrong answer") << QString() << wrong << false << QStringList{};
    QTest::newRow("right answer in other case")
        << QStringLiteral("correta = '%1'").arg(right.toLower()) << right << false
        << QStringList{QStringLiteral("A resposta correta da pergunta número 7 não é nenhuma das quatro "
                                      "alternativas: ela não pode ser acertada.")};
    QTest::newRow("blank right answer") << QStringLiteral("correta = null") << right << false
                                        << QStringList{QStringLiteral("A pergunta número 7 tem campos em branco: "
                                                                      "correta.")};
    QTest::newRow("blank answer and right answer")
        << QStringLiteral("resp2 = null, correta = null") << QString() << false
        << QStringList{QStringLiteral("A pergunta número 7 tem campos em branco: resp2, correta.")};
    QTest::newRow("two answers with the right text")
        << QStringLiteral("resp1 = '%1', resp2 = '%1'").arg(wrong) + QStringLiteral(", correta = '%1'").arg(wrong)
        << wrong << true << QStringList{};
}

void SessionTest::questionsAsShownAndJudged()
{
    QFETCH(QString, change);
    QFETCH(QString, answered);
    QFETCH(bool, right);
    QFETCH(QStringList, problems);
    TempDataDir data(22);
    if (!change.isEmpty())
        runSql(data.where(), QStringLiteral("update perguntas.db set %1 where id = 7").arg(change));
    Session s(data.where());
    SequenceRandomGuard random;
    random->next << 6 << 9; // questions 7 and 10 first

    const NewGame game = s.game.start(QStringLiteral("Ana"));
    const QuestionView &question = game.first;
    QCOMPARE(question.id, 7);
    QCOMPARE(question.place, 1);
    QVERIFY(question.readable);
    QCOMPARE(question.pergunta, QStringLiteral("Pergunta 7"));
    QCOMPARE(question.foto, data.foto());
    QCOMPARE(question.problems, problems);
    QVERIFY(question.canSkip);

    // The question after it is deleted while the player reads: reported, and still answerable.
    runSql(data.where(), QStringLiteral("delete from perguntas.db where id = 10"));
    const AnswerOutcome outcome = s.game.answer(choiceOf(question, answered));
    QVERIFY(outcome.counted);
    QCOMPARE(outcome.right, right);
    QCOMPARE(s.game.state().RightCount, right ? 1 : 0);
    QCOMPARE(s.game.state().WrongCount, right ? 0 : 1);
    QVERIFY(outcome.next && !outcome.result);
    QCOMPARE(outcome.next->place, 2);
    QCOMPARE(outcome.next->id, 10);
    QCOMPARE(outcome.next->problems,
             QStringList{QStringLiteral("A pergunta número 10 não existe no banco de perguntas.")});
    // No answer is right on a question that is not there, not even a blank one.
    QVERIFY(!s.game.answer(0).right);
}

void SessionTest::gameOverTwentyAnswers()
{
    TempDataDir data(25);
    Session s(data.where());
    QuestionView question = s.game.start(QStringLiteral("Ana")).first;
    QSet<int> asked;
    for (int place = 1; place <= 20; ++place) {
        QCOMPARE(question.place, place);
        asked.insert(question.id);
        const AnswerOutcome outcome = answer(s.game, question, true);
        QCOMPARE(outcome.next.has_value(), place < 20);
        QCOMPARE(outcome.result.has_value(), place == 20);
        if (outcome.next)
            question = *outcome.next;
    }
    // Every place asked a different question, the ones drawn, in their order.
    QCOMPARE(asked, drawnSet(s.game.state()));
}

void SessionTest::bankTooSmallChangesNothing()
{
    TempDataDir data(19);
    Session s(data.where());
    QCOMPARE(errorOf([&] { s.game.start(QStringLiteral("Ana")); }), BankTooSmallMessage(19));
    QCOMPARE(s.game.state().PlayerName, QString());
    QCOMPARE(s.game.state().QuestionCount, 19);
    // A 20th question added: the next start counts again and plays.
    data.bank()->insertQuestions({TempDataDir::sampleQuestion(20, data.foto())});
    QCOMPARE(s.game.start(QStringLiteral("Ana")).first.place, 1);
    QCOMPARE(s.game.state().PlayerName, QStringLiteral("Ana"));
    QCOMPARE(BankTooSmallMessage(1).contains(QStringLiteral("apenas 1 pergunta,")), true);
}

void SessionTest::skips()
{
    TempDataDir data(25);
    Session s(data.where());
    SequenceRandomGuard random;
    const QuestionView first = s.game.start(QStringLiteral("Ana")).first;

    // The replacement comes from the whole bank, in the same place, and may be the same question.
    random->next << first.id - 1;
    std::optional<SkipOutcome> skipped = s.game.skip();
    QVERIFY(skipped && !skipped->lastSkip);
    QCOMPARE(skipped->question.id, first.id);
    QCOMPARE(skipped->question.place, 1);
    QVERIFY(skipped->question.canSkip);
    // A question added meanwhile is counted by the skip, and can be its replacement.
    data.bank()->insertQuestions({TempDataDir::sampleQuestion(26, data.foto())});
    random->next << 25;
    skipped = s.game.skip();
    QVERIFY(skipped && skipped->lastSkip);
    QCOMPARE(skipped->question.id, 26);
    QCOMPARE(s.game.state().QuestionCount, 26);
    QVERIFY(!skipped->question.canSkip);
    QVERIFY(!s.game.skip());
    QCOMPARE(s.game.state().SkippedCount, 2);
    QCOMPARE(s.game.state().CurrentIndex, 0);

    // The replacement is the one answered.
    QVERIFY(s.game.answer(choiceOf(skipped->question, TempDataDir::correctAnswerOf(26))).right);
    // A bank that cannot be read: the next question waits for it, and still offers no skip.
    {
        const UnreadableBank unreadable(data);
        const AnswerOutcome waiting = s.game.answer(0);
        QVERIFY(!waiting.countError.isEmpty());
        QVERIFY(waiting.next && !waiting.next->readable && !waiting.next->canSkip);
    }

    // A bank that cannot be read costs no skip.
    s.game.start(QStringLiteral("Bia"));
    const UnreadableBank unreadable(data);
    QVERIFY(!errorOf([&] { s.game.skip(); }).isEmpty());
    QCOMPARE(s.game.state().SkippedCount, 0);
}

void SessionTest::giveUpAndPlayAgainStartFromZero()
{
    TempDataDir data(25);
    Session s(data.where());
    QuestionView question = s.game.start(QStringLiteral("Ana")).first;
    question = *answer(s.game, question, true).next;
    question = *answer(s.game, question, false).next;
    s.game.skip();
    s.game.giveUp();
    const TGameState &state = s.game.state();
    QCOMPARE(QList<int>({state.RightCount, state.WrongCount, state.CurrentIndex, state.SkippedCount}),
             QList<int>({0, 0, 0, 0}));

    // Play again counts the bank afresh and draws a whole game.
    playWhole(s.game, QStringLiteral("Ana"), 20, 2);
    runSql(data.where(), QStringLiteral("delete from perguntas.db where id = 25"));
    const NewGame next = s.game.playAgain();
    QCOMPARE(QList<int>({state.RightCount, state.WrongCount, state.CurrentIndex, state.SkippedCount}),
             QList<int>({0, 0, 0, 0}));
    QCOMPARE(state.QuestionCount, 24);
    QVERIFY(next.first.canSkip);
    QCOMPARE(next.first.place, 1);
}

void SessionTest::scoringAndRecord_data()
{
    QTest::addColumn<QByteArray>("stored"); // the record file before; empty for none
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("skips");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("pointsShown");
    QTest::addColumn<bool>("newRecord");
    QTest::addColumn<QString>("recordName");
    QTest::addColumn<QString>("recordPoints");
    QTest::addColumn<QByteArray>("after"); // the record file after
    QTest::addColumn<bool>("readError");

    QTest::newRow("all right, no record") << QByteArray() << 20 << 0 << 100 << "100" << true << "Bia" << "100"
                                          << QByteArray("Bia\r\n100\r\n") << false;
    QTest::newRow("8 right, 2 skips") << QByteArray() << 8 << 2 << 2 << "2" << true << "Bia" << "2"
                                      << QByteArray("Bia\r\n2\r\n") << false;
    QTest::newRow("all wrong, no record: blank record")
        << QByteArray() << 0 << 0 << -60 << "0" << false << "" << "" << QByteArray() << false;
    QTest::newRow("all wrong, two skips") << QByteArray() << 0 << 2 << -62 << "0" << false << "" << ""
                                          << QByteArray() << false;
    QTest::newRow("below the record") << QByteArray("Ana\r\n85\r\n") << 18 << 0 << 84 << "84" << false << "Ana"
                                      << "85" << QByteArray("Ana\r\n85\r\n") << false;
    QTest::newRow("a tie takes the record") << QByteArray("Ana\r\n84\r\n") << 18 << 0 << 84 << "84" << true
                                            << "Bia" << "84" << QByteArray("Bia\r\n84\r\n") << false;
    QTest::newRow("13 right, 1 skip") << QByteArray("Ana\r\n0\r\n") << 13 << 1 << 43 << "43" << true << "Bia"
                                      << "43" << QByteArray("Bia\r\n43\r\n") << false;
    QTest::newRow("negative record beaten") << QByteArray("Zé\r\n-61\r\n") << 0 << 0 << -60 << "0" << true
                                            << "Bia" << "-60" << QByteArray("Bia\r\n-60\r\n") << false;
    QTest::newRow("record of 0 points kept, blank points")
        << QByteArray("Ana\r\n0\r\n") << 0 << 1 << -61 << "0" << false << "Ana" << "" << QByteArray("Ana\r\n0\r\n")
        << false;
    QTest::newRow("long holder's name shown cut")
        << QByteArray(25, 'x') + "\r\n90\r\n" << 18 << 0 << 84 << "84" << false
        << QString(23, u'x') + QChar(0x2026) << "90" << QByteArray(25, 'x') + "\r\n90\r\n" << false;
    QTest::newRow("damaged record: reported, and the game compared with 0")
        << QByteArray("Ana\r\nmuitos\r\n") << 10 << 0 << 20 << "20" << true << "Bia" << "20"
        << QByteArray("Bia\r\n20\r\n") << true;
}

void SessionTest::scoringAndRecord()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, right);
    QFETCH(int, skips);
    QFETCH(int, points);
    QFETCH(QString, pointsShown);
    QFETCH(bool, newRecord);
    QFETCH(QString, recordName);
    QFETCH(QString, recordPoints);
    QFETCH(QByteArray, after);
    QFETCH(bool, readError);
    if (readError)
        FOLDER_ONLY("a damaged record file");
    TempDataDir data(25);
    if (!stored.isEmpty())
        data.writeRecordFile(stored.replace("Zé", "Z\xE9"));
    Session s(data.where());

    const GameResult result = playWhole(s.game, QStringLiteral("Bia"), right, skips);
    QCOMPARE(result.playerName, QStringLiteral("Bia"));
    QCOMPARE(QList<int>({result.right, result.wrong, result.skipped}), QList<int>({right, 20 - right, skips}));
    QCOMPARE(result.points, points);
    QCOMPARE(s.game.state().GamePoints, points);
    QCOMPARE(result.pointsShown, pointsShown);
    QCOMPARE(result.tooManyWrong, points < 0);
    QCOMPARE(result.newRecord, newRecord);
    QCOMPARE(result.recordName, recordName);
    QCOMPARE(result.recordPointsShown, recordPoints);
    QCOMPARE(data.recordFileBytes(), after);
    QCOMPARE(!result.recordReadError.isEmpty(), readError);
    QCOMPARE(result.recordError, QString());
    // The start screen's record line says the same.
    if (newRecord)
        QCOMPARE(s.game.recordLine(), QStringLiteral("Bia - %1 pontos").arg(points));
}

void SessionTest::recordSettledUnderTheLock()
{
    TempDataDir data(20);
    int start[2];
    QCOMPARE(::pipe(start), 0);
    // The other copy is started before the record is held: a child would share its holder's lock.
    const pid_t other = playInAnotherCopy(start, 18, QStringLiteral("Lia")); // 84 points
    QVERIFY(other > 0);
    {
        // This copy holds the record while the other finishes an 84-point game; this copy then
        // writes 100 points and lets go.
        HeldRecord held(data);
        QCOMPARE(::write(start[1], "g", 1), ssize_t(1));
        QTest::qWait(300);
        QVERIFY(!data.recordStored());
        held.write(QStringLiteral("Ana"), 100);
    }
    // The other copy compared with the 100 points it found, not with no record.
    QCOMPARE(exitCodeOf(other), 0);
    QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\n100\r\n"));
    ::close(start[0]);
    ::close(start[1]);

    // In this copy too: the record stored wins over the one read when the session began.
    Session s(data.where());
    data.writeRecordFile("Ana\r\n10\r\n");
    QVERIFY(s.game.loadRecord());
    data.writeRecordFile("Ana\r\n100\r\n");
    GameResult result = playWhole(s.game, QStringLiteral("Bia"), 19); // 92 points
    QVERIFY(!result.newRecord);
    QCOMPARE(result.recordPointsShown, QStringLiteral("100"));
    QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\n100\r\n"));

    // A copy that holds the record too long: reported, and nothing written.
    if (data.server()) {
        HeldRecord held(data);
        result = playWhole(s.game, QStringLiteral("Caio"), 20);
    } else {
        const pid_t holder = ::fork();
        if (holder == 0) {
            const RecordLock lock(recordFilePath());
            ::sleep(30);
            ::_exit(0);
        }
        QTest::qWait(300);
        result = playWhole(s.game, QStringLiteral("Caio"), 20);
        ::kill(holder, SIGKILL);
        exitCodeOf(holder);
    }
    QVERIFY(!result.recordError.isEmpty());
    QVERIFY(!result.newRecord);
    QCOMPARE(data.recordFileBytes(), QByteArray("Ana\r\n100\r\n"));
}

void SessionTest::recordOfTwoCopiesFinishingTogether()
{
    TempDataDir data(20);
    for (int round = 0; round < 20; ++round) {
        data.writeRecordFile("Zeca\r\n10\r\n");
        int start[2];
        QCOMPARE(::pipe(start), 0);
        // Both are let go at the same moment.
        const pid_t low = playInAnotherCopy(start, 18, QStringLiteral("Lia"));  // 84 points
        const pid_t high = playInAnotherCopy(start, 20, QStringLiteral("Ana")); // 100 points
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

void SessionTest::highestOfThirtyCopiesFinishingTogether()
{
    // A lab's class finishing at once: one copy scores 100, every other less. Whatever order they
    // settle in, the record is the 100 points, never a lower score written over it.
    TempDataDir data(20);
    for (const int top : {0, 29}) {
        data.writeRecordFile("Zeca\r\n10\r\n");
        int start[2];
        QCOMPARE(::pipe(start), 0);
        QList<pid_t> copies;
        for (int i = 0; i < 30; ++i) {
            const int right = i == top ? 20 : 19 - i % 8; // 100 points, or 92 down to 36
            copies.append(playInAnotherCopy(start, right, QStringLiteral("J%1").arg(i)));
            QVERIFY(copies.last() > 0);
        }
        ::close(start[1]); // end of file lets every copy go at once
        for (int i = 0; i < copies.size(); ++i) {
            const int took = exitCodeOf(copies[i]);
            QVERIFY2(took == 0 || took == 1, qPrintable(QStringLiteral("copy %1 ended with %2").arg(i).arg(took)));
            if (i == top)
                QCOMPARE(took, 1);
        }
        ::close(start[0]);
        QCOMPARE(data.recordFileBytes(), QStringLiteral("J%1\r\n100\r\n").arg(top).toLatin1());
    }
}

QTEST_GUILESS_MAIN(SessionTest)
#include "test_session.moc"
