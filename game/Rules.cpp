#include "game/Rules.h"

#include "game/GameState.h"
#include "platform/Random.h"
#include "store/AppError.h"
#include "store/RecordFile.h"
#include "store/RecordLock.h"
#include "store/TableEngine.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>

#include <sys/stat.h>
#include <initializer_list>

namespace {

// Rebuilds a statement in full and runs it: close, new text, the parameter if any, run, open.
Query &runStatement(Query &q, std::initializer_list<const char *> lines, const char *parameter = nullptr,
                    qint32 value = 0)
{
    q.close();
    q.clear();
    for (const char *line : lines)
        q.add(QLatin1String(line));
    if (parameter)
        q.setParameter(QLatin1String(parameter), value);
    q.execSql();
    q.open();
    return q;
}

// How many different question numbers the bank holds; fewer than its questions only in a table
// made by hand, without the unique index on Id.
qint32 countDistinctIds(Query &q)
{
    runStatement(q, {"select count(distinct p.id) as totalsql", "from perguntas.db p"});
    return q.asInteger(QStringLiteral("totalsql"));
}

// Attempts in a row that store nothing before the draw counts the bank's distinct numbers, and
// before it gives up. With 20 or more distinct numbers, even the last place of a bank of exactly
// 20 is missed that many times in a row with a chance far below one in a million; the limits
// only stop a draw that cannot finish.
constexpr int MissesBeforeDistinctCheck = 200;
constexpr int MissesBeforeGivingUp = 20000;

// A draw by number is used while the numbers from the smallest to the largest are at most this
// many times the questions, that is while a question costs at most this many index seeks on
// average; a draw by position walks half the index on average.
constexpr qint64 MaxNumbersPerQuestion = 64;
// Tries by number, in units of the expected tries, before one question is drawn by position:
// (1 - 1/e)^16 of the time on a bank as gappy as allowed, about one question in 10^7.
constexpr qint64 GapRunBeforePosition = 16;

} // namespace

qint32 PointsFor(qint32 right, qint32 wrong, qint32 skipped)
{
    return right * 5 - wrong * 3 - skipped;
}

QString BankTooSmallMessage(qint32 questionCount)
{
    const QString has = questionCount <= 0 ? QStringLiteral("não tem nenhuma pergunta")
                        : questionCount == 1
                            ? QStringLiteral("tem apenas 1 pergunta")
                            : QStringLiteral("tem apenas %1 perguntas").arg(questionCount);
    return QStringLiteral("O banco de perguntas %1, mas um jogo precisa de %2 perguntas "
                          "diferentes. Cadastre mais perguntas para poder jogar.")
        .arg(has)
        .arg(QuestionsPerGame);
}

namespace {

// What tells whether the question table may have changed since it was last counted: the changes
// made through this program's connection, the version SQLite gives the file for changes made
// through any other (another program, the sqlite3 shell), and the file itself as the system sees
// it (for a connection opened anew on a file changed meanwhile). Any change to the table moves at
// least one of them.
struct TableVersion {
    qint64 changes = -1;
    qint64 dataVersion = -1;
    QString file;
    qint64 size = -1;
    qint64 modifiedNs = -1;
    quint64 inode = 0;
    quint64 device = 0;

    bool operator==(const TableVersion &) const = default;
};

TableVersion versionOf(Query &q)
{
    TableVersion version;
    // Reads the file's header, so a file that another program holds is refused here as the
    // count itself would be. (The table-valued pragma_data_version would read the version of
    // the main database whatever schema it is given.)
    runStatement(q, {"pragma perguntas.data_version"});
    version.dataVersion = q.value(QStringLiteral("data_version")).toLongLong();
    runStatement(q, {"select total_changes() as mudancas,",
                     "(select file from pragma_database_list where name = 'perguntas') as arquivo"});
    version.changes = q.value(QStringLiteral("mudancas")).toLongLong();
    version.file = q.value(QStringLiteral("arquivo")).toString();
    struct stat info {};
    if (!version.file.isEmpty() && ::stat(QFile::encodeName(version.file).constData(), &info) == 0) {
        version.size = info.st_size;
        version.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        version.inode = info.st_ino;
        version.device = info.st_dev;
    }
    return version;
}

// The last count and the version of the table it was made on.
struct {
    TableVersion version;
    qint32 count = 0;
    bool known = false;
} lastCount;

} // namespace

void ForgetQuestionCount()
{
    lastCount.known = false;
}

void CountQuestions(Query &QuerySql)
{
    // Counting walks the whole index on Id (tens of milliseconds for a million questions), and it
    // is done at every answer: a table unchanged since the last count keeps that count.
    const TableVersion version = versionOf(QuerySql);
    if (lastCount.known && !version.file.isEmpty() && lastCount.version == version) {
        GameState.QuestionCount = lastCount.count;
        return;
    }
    lastCount.known = false;
    runStatement(QuerySql, {"select count(p.id) as totalsql", "from perguntas.db p"});
    GameState.QuestionCount = QuerySql.asInteger(QStringLiteral("totalsql"));
    lastCount = {version, GameState.QuestionCount, true};
}

qint32 QuestionIdAt(Query &QueryPosicao, qint32 position)
{
    // Numbers freed by deletions leave gaps, so a question is found by its place in number order.
    // The index is walked up to the place: this costs in proportion to `position`.
    runStatement(QueryPosicao,
                 {"select id", "from perguntas.db", "where id is not null", "order by id", "limit 1 offset :POSICAO"},
                 "POSICAO", position);
    return QueryPosicao.isEmpty() ? 0 : QueryPosicao.asInteger(QStringLiteral("id"));
}

bool QuestionNumbered(Query &QueryPosicao, qint32 number)
{
    runStatement(QueryPosicao, {"select id", "from perguntas.db", "where id = :NUMERO"}, "NUMERO", number);
    return !QueryPosicao.isEmpty();
}

QuestionPicker::QuestionPicker(Query &QueryPosicao) : m_query(QueryPosicao)
{
    // min() and max() alone in a statement are each one step of the index on Id.
    runStatement(m_query, {"select (select min(id) from perguntas.db) as menor,",
                           "(select max(id) from perguntas.db) as maior"});
    const QVariant low = m_query.value(QStringLiteral("menor"));
    const QVariant high = m_query.value(QStringLiteral("maior"));
    if (low.isNull() || high.isNull())
        return; // an empty bank: positions find nothing and make the caller count again
    const double lowValue = low.toDouble(), highValue = high.toDouble();
    // Numbers that are not whole or not 32-bit, or a range wider than the random source reaches,
    // are drawn by position.
    if (lowValue != std::floor(lowValue) || highValue != std::floor(highValue)
        || lowValue < double(std::numeric_limits<qint32>::min())
        || highValue > double(std::numeric_limits<qint32>::max())
        || highValue - lowValue + 1 > double(std::numeric_limits<int>::max()))
        return;
    m_low = qint64(lowValue);
    m_numbers = qint64(highValue) - m_low + 1;
}

qint32 QuestionPicker::pick(qint32 questionCount)
{
    const qint64 count = std::max<qint64>(questionCount, 1);
    // A draw by number is kept while the expected number of tries per question stays small;
    // a bank whose numbers are mostly gaps is drawn by position.
    if (m_numbers > 0 && m_numbers <= MaxNumbersPerQuestion * count) {
        // Ceiling of numbers / questions: the expected tries for one question.
        const qint64 expected = (m_numbers + count - 1) / count;
        const qint64 tries = GapRunBeforePosition * expected;
        for (qint64 i = 0; i < tries; ++i) {
            const qint64 number = m_low + randomBelow(int(m_numbers));
            if (QuestionNumbered(m_query, qint32(number)))
                return qint32(number);
        }
        // A run that long is next to impossible unless the bank shrank since the range was
        // read; a draw by position then finds out, and is just as even.
    }
    return QuestionIdAt(m_query, randomBelow(questionCount));
}

qint64 QuestionPicker::numbers() const
{
    return m_numbers;
}

void DrawQuestions(Query &QueryPosicao, Query &QuerySql)
{
    auto &ids = GameState.DrawnIds;
    ids.fill(0);
    const auto refuse = [&](const QString &message) {
        ids.fill(0);
        throw AppError(message);
    };
    const auto refuseRepeatedNumbers = [&](qint32 distinct) {
        refuse(BankTooSmallMessage(distinct) + QStringLiteral(" (Há perguntas com o mesmo número.)"));
    };
    // A smaller bank can never yield 20 distinct questions: refuse instead of drawing forever.
    if (GameState.QuestionCount < QuestionsPerGame)
        refuse(BankTooSmallMessage(GameState.QuestionCount));

    QuestionPicker picker(QueryPosicao);
    // Fewer numbers than the count says questions: questions were deleted since the count, or
    // (in a table made by hand) some share a number.
    if (picker.numbers() > 0 && picker.numbers() < GameState.QuestionCount) {
        CountQuestions(QuerySql);
        if (GameState.QuestionCount < QuestionsPerGame)
            refuse(BankTooSmallMessage(GameState.QuestionCount));
        if (picker.numbers() < GameState.QuestionCount) {
            const qint32 distinct = countDistinctIds(QuerySql);
            if (distinct < QuestionsPerGame)
                refuseRepeatedNumbers(distinct);
        }
    }

    int stored = 0;
    int misses = 0;
    while (stored < QuestionsPerGame) {
        GameState.CandidateId = picker.pick(GameState.QuestionCount);
        // Empty slots hold 0, which never equals the id of a question.
        if (GameState.CandidateId != 0 && std::find(ids.begin(), ids.end(), GameState.CandidateId) == ids.end()) {
            ids[stored++] = GameState.CandidateId;
            misses = 0;
            continue;
        }
        ++misses;
        if (GameState.CandidateId == 0) {
            // Questions were deleted since the last count: draw from what is there now.
            CountQuestions(QuerySql);
            if (GameState.QuestionCount < QuestionsPerGame)
                refuse(BankTooSmallMessage(GameState.QuestionCount));
        }
        if (misses % MissesBeforeDistinctCheck == 0) {
            const qint32 distinct = countDistinctIds(QuerySql);
            if (distinct < QuestionsPerGame)
                refuseRepeatedNumbers(distinct);
        }
        if (misses >= MissesBeforeGivingUp)
            refuse(QStringLiteral("Não foi possível sortear as perguntas do jogo. Tente de novo."));
    }
}

QuestionRead ReadQuestion(Query &QuerySql2, qint32 id)
{
    runStatement(QuerySql2,
                 {"select id,pergunta,resp1,resp2,resp3,resp4,correta,foto", "from perguntas.db", "where id = :NUMID"},
                 "NUMID", id);

    QuestionRead read;
    read.found = !QuerySql2.isEmpty();
    QStringList blank;
    auto text = [&](const char *column) {
        const QString value = QuerySql2.value(QLatin1String(column)).toString();
        if (value.isEmpty())
            blank << QLatin1String(column);
        return value;
    };
    read.pergunta = text("Pergunta");
    read.answers = {text("resp1"), text("resp2"), text("resp3"), text("resp4")};
    read.correta = text("correta");
    read.foto = text("foto");
    GameState.CorrectAnswer = read.correta;

    if (!read.found) {
        read.problems << QStringLiteral("A pergunta número %1 não existe no banco de perguntas.").arg(id);
    } else if (!blank.isEmpty()) {
        read.problems << QStringLiteral("A pergunta número %1 tem campos em branco: %2.")
                             .arg(id)
                             .arg(blank.join(QStringLiteral(", ")));
    }
    if (read.found && !read.correta.isEmpty()
        && std::find(read.answers.begin(), read.answers.end(), read.correta) == read.answers.end())
        read.problems << QStringLiteral("A resposta correta da pergunta número %1 não é nenhuma das "
                                        "quatro alternativas: ela não pode ser acertada.")
                             .arg(id);
    return read;
}

bool AnswerIsRight(const QString &answer)
{
    return !GameState.CorrectAnswer.isEmpty() && answer == GameState.CorrectAnswer;
}

void RecordAnswer(bool right)
{
    if (right)
        ++GameState.RightCount;
    else
        ++GameState.WrongCount;
    ++GameState.CurrentIndex;
}

bool GameIsOver()
{
    return GameState.CurrentIndex == QuestionsPerGame;
}

bool RecordSkip(Query &QuerySql, Query &QueryPosicao)
{
    // The replacement is drawn before the skip is counted, so that a bank that cannot be read
    // costs the player nothing.
    CountQuestions(QuerySql);
    GameState.CandidateId = QuestionPicker(QueryPosicao).pick(GameState.QuestionCount);
    ++GameState.SkippedCount;
    return GameState.SkippedCount == SkipLimit;
}

void ResetCounters()
{
    GameState.RightCount = 0;
    GameState.WrongCount = 0;
    GameState.CurrentIndex = 0;
    GameState.SkippedCount = 0;
}

bool ReloadRecord()
{
    // Read into temporaries, so that a damaged file does not half-change the record in memory.
    QString name;
    qint32 points = 0;
    if (!ReadRecord(recordFilePath(), name, points))
        return false;
    GameState.RecordName = name;
    GameState.RecordPoints = points;
    return true;
}

QString ShownRecordName(const QString &name)
{
    if (name.size() <= RecordNameShownLength)
        return name;
    return name.left(RecordNameShownLength - 1) + QChar(0x2026);
}

void ScoreGame()
{
    const TGameState &g = GameState;
    if (g.RightCount < 0 || g.WrongCount < 0 || g.RightCount + g.WrongCount != QuestionsPerGame
        || g.SkippedCount < 0 || g.SkippedCount > SkipLimit)
        throw AppError(QStringLiteral("A contagem do jogo está errada (%1 certas, %2 erradas, %3 puladas); "
                                      "o jogo não é pontuado.")
                           .arg(g.RightCount)
                           .arg(g.WrongCount)
                           .arg(g.SkippedCount));
    GameState.GamePoints = PointsFor(g.RightCount, g.WrongCount, g.SkippedCount);
}

bool IsNewRecord()
{
    // A tie with the record is a new record.
    return GameState.GamePoints >= GameState.RecordPoints;
}

void SetNewRecord(const QString &holder)
{
    GameState.RecordName = holder;
    GameState.RecordPoints = GameState.GamePoints;
    WriteRecord(recordFilePath(), GameState.RecordName, GameState.RecordPoints);
}

RecordClaim ClaimRecord(const QString &holder)
{
    const RecordLock lock(recordFilePath());
    // What another copy wrote since this game read the record counts. A file that cannot be read
    // was reported when the game ended; the record in memory stands for it.
    try {
        ReloadRecord();
    } catch (const AppError &) {
    }
    RecordClaim claim;
    if (!IsNewRecord())
        return claim;
    claim.isNew = true;
    try {
        SetNewRecord(holder);
    } catch (const AppError &e) {
        claim.writeError = e.text();
    }
    return claim;
}
