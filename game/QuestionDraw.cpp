#include "game/QuestionDraw.h"

#include "platform/Random.h"
#include "store/core/AppError.h"
#include "store/bank/QuestionBank.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

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

QuestionPicker::QuestionPicker(QuestionBank &bank) : m_bank(bank)
{
    const auto range = m_bank.numberRange();
    if (!range)
        return; // an empty bank: positions find nothing and make the caller count again
    const auto [lowValue, highValue] = *range;
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
            if (m_bank.hasNumber(qint32(number)))
                return qint32(number);
        }
        // A run that long is next to impossible unless the bank shrank since the range was
        // read; a draw by position then finds out, and is just as even.
    }
    return m_bank.numberAt(randomBelow(questionCount));
}

qint64 QuestionPicker::numbers() const
{
    return m_numbers;
}

void DrawQuestions(QuestionBank &bank, TGameState &state)
{
    auto &ids = state.DrawnIds;
    ids.fill(0);
    const auto refuse = [&](const QString &message) {
        ids.fill(0);
        throw AppError(message);
    };
    const auto refuseRepeatedNumbers = [&](qint32 distinct) {
        refuse(BankTooSmallMessage(distinct) + QStringLiteral(" (Há perguntas com o mesmo número.)"));
    };
    // A smaller bank can never yield 20 distinct questions: refuse instead of drawing forever.
    if (state.QuestionCount < QuestionsPerGame)
        refuse(BankTooSmallMessage(state.QuestionCount));

    QuestionPicker picker(bank);
    // Fewer numbers than the count says questions: questions were deleted since the count, or
    // (in a table made by hand) some share a number.
    if (picker.numbers() > 0 && picker.numbers() < state.QuestionCount) {
        state.QuestionCount = bank.count();
        if (state.QuestionCount < QuestionsPerGame)
            refuse(BankTooSmallMessage(state.QuestionCount));
        if (picker.numbers() < state.QuestionCount) {
            const qint32 distinct = bank.countDistinct();
            if (distinct < QuestionsPerGame)
                refuseRepeatedNumbers(distinct);
        }
    }

    int stored = 0;
    int misses = 0;
    while (stored < QuestionsPerGame) {
        state.CandidateId = picker.pick(state.QuestionCount);
        // Empty slots hold 0, which never equals the id of a question.
        if (state.CandidateId != 0 && std::find(ids.begin(), ids.end(), state.CandidateId) == ids.end()) {
            ids[stored++] = state.CandidateId;
            misses = 0;
            continue;
        }
        ++misses;
        if (state.CandidateId == 0) {
            // Questions were deleted since the last count: draw from what is there now.
            state.QuestionCount = bank.count();
            if (state.QuestionCount < QuestionsPerGame)
                refuse(BankTooSmallMessage(state.QuestionCount));
        }
        if (misses % MissesBeforeDistinctCheck == 0) {
            const qint32 distinct = bank.countDistinct();
            if (distinct < QuestionsPerGame)
                refuseRepeatedNumbers(distinct);
        }
        if (misses >= MissesBeforeGivingUp)
            refuse(QStringLiteral("Não foi possível sortear as perguntas do jogo. Tente de novo."));
    }
}

