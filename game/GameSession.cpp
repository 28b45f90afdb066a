#include "game/GameSession.h"

#include "game/QuestionDraw.h"
#include "store/core/AppError.h"
#include "store/bank/QuestionBank.h"
#include "store/bank/RecordStore.h"

#include <QDebug>

#include <algorithm>

namespace {

QString unreadQuestionMessage(const QString &engineText)
{
    return QStringLiteral("Não foi possível ler a pergunta do banco de perguntas:\n%1\n\n"
                          "Quando o banco puder ser lido, clique em \"OK\" para vê-la; nenhuma resposta é "
                          "contada antes disso.")
        .arg(engineText);
}

} // namespace

QString ShownRecordName(const QString &name)
{
    if (name.size() <= RecordNameShownLength)
        return name;
    return name.left(RecordNameShownLength - 1) + QChar(0x2026);
}

qint32 PointsFor(qint32 right, qint32 wrong, qint32 skipped)
{
    return GameRules::points(right, wrong, skipped);
}

GameSession::GameSession(QuestionBank &bank, RecordStore &record) : m_bank(bank), m_record(record) {}

const TGameState &GameSession::state() const
{
    return m_state;
}

bool GameSession::loadRecord()
{
    const std::optional<Record> stored = m_record.read();
    if (!stored)
        return false;
    m_state.RecordName = stored->name;
    m_state.RecordPoints = stored->points;
    return true;
}

QString GameSession::recordLine() const
{
    return ShownRecordName(m_state.RecordName) + QStringLiteral(" - ") + QString::number(m_state.RecordPoints)
           + QStringLiteral(" pontos");
}

NewGame GameSession::prepare()
{
    m_state.QuestionCount = m_bank.count();
    return drawGame();
}

NewGame GameSession::start(const QString &playerName)
{
    // A bank too small for a game is refused before anything changes. It is counted again first,
    // in case questions were added since the last count.
    if (m_state.QuestionCount < QuestionsPerGame) {
        m_state.QuestionCount = m_bank.count();
        if (m_state.QuestionCount < QuestionsPerGame)
            throw AppError(BankTooSmallMessage(m_state.QuestionCount));
    }
    // Every game starts from nothing, also one started while another is under way or just over
    // (the start screen stays usable behind the others).
    resetCounters();
    NewGame game = drawGame();
    m_state.PlayerName = playerName;
    return game;
}

AnswerOutcome GameSession::answer(int choice)
{
    AnswerOutcome outcome;
    if (m_pending) {
        outcome.next = questionAt(*m_pending);
        return outcome;
    }
    const QString chosen = choice >= 0 && choice < int(m_answers.size()) ? m_answers[choice] : QString();
    // Compared character for character; a question without a right answer has none.
    outcome.right = !m_state.CorrectAnswer.isEmpty() && chosen == m_state.CorrectAnswer;
    outcome.counted = true;
    ++(outcome.right ? m_state.RightCount : m_state.WrongCount);
    ++m_state.CurrentIndex;

    // The answer is counted whatever the bank does next: a count it refuses is reported, the next
    // question waits for the next "OK", and the 20th answer still ends the game.
    try {
        m_state.QuestionCount = m_bank.count();
    } catch (const AppError &e) {
        outcome.countError = e.text();
    }
    if (m_state.CurrentIndex < QuestionsPerGame) {
        const qint32 next = m_state.DrawnIds[m_state.CurrentIndex];
        outcome.next = outcome.countError.isEmpty() ? questionAt(next) : unreadQuestion(next);
    } else {
        outcome.result = finish();
    }
    return outcome;
}

std::optional<SkipOutcome> GameSession::skip()
{
    if (m_state.SkippedCount >= SkipLimit)
        return std::nullopt;
    // The replacement is drawn before the skip is counted, so that a bank that cannot be read
    // costs the player nothing. It comes from the whole bank: it may be any question of this game,
    // the skipped one included.
    m_state.QuestionCount = m_bank.count();
    m_state.CandidateId = QuestionPicker(m_bank).pick(m_state.QuestionCount);
    ++m_state.SkippedCount;
    SkipOutcome outcome;
    outcome.lastSkip = m_state.SkippedCount == SkipLimit;
    outcome.question = questionAt(m_state.CandidateId);
    return outcome;
}

void GameSession::giveUp()
{
    resetCounters();
}

NewGame GameSession::playAgain()
{
    resetCounters();
    m_state.QuestionCount = m_bank.count();
    return drawGame();
}

void GameSession::resetCounters()
{
    m_state.RightCount = 0;
    m_state.WrongCount = 0;
    m_state.CurrentIndex = 0;
    m_state.SkippedCount = 0;
    m_pending.reset();
}

NewGame GameSession::drawGame()
{
    DrawQuestions(m_bank, m_state);
    m_state.CurrentIndex = 0;
    NewGame game;
    // The photos in the order they will be asked. A bank that cannot be read now stops the list
    // where it is: each question reads its own photo when it is shown, and reports what goes
    // wrong then.
    try {
        for (qint32 id : m_state.DrawnIds)
            if (const QString photo = m_bank.photoOf(id); !photo.isEmpty())
                game.photos << photo;
    } catch (const AppError &e) {
        qWarning().noquote() << QStringLiteral("As fotos do jogo não serão preparadas de antemão: %1").arg(e.text());
    }
    game.first = questionAt(m_state.DrawnIds[0]);
    return game;
}

QuestionView GameSession::unreadQuestion(qint32 id)
{
    // Nothing of the question before stays to be answered in this one's place.
    m_pending = id;
    m_state.CorrectAnswer.clear();
    m_answers = {};
    QuestionView view;
    view.place = m_state.CurrentIndex + 1;
    view.id = id;
    view.readable = false;
    view.canSkip = m_state.SkippedCount < SkipLimit;
    return view;
}

QuestionView GameSession::questionAt(qint32 id)
{
    std::optional<Question> found;
    try {
        found = m_bank.question(id);
    } catch (const AppError &e) {
        QuestionView view = unreadQuestion(id);
        view.problems << unreadQuestionMessage(e.text());
        return view;
    }
    const Question stored = found.value_or(Question());
    m_pending.reset();
    m_state.CorrectAnswer = stored.correta;
    m_answers = stored.answers;

    QuestionView view;
    view.place = m_state.CurrentIndex + 1;
    view.id = id;
    view.pergunta = stored.pergunta;
    view.answers = stored.answers;
    view.foto = stored.foto;
    view.canSkip = m_state.SkippedCount < SkipLimit;

    // The blank texts, named in the message as the game has always named them: Pergunta, then the
    // others in lower case.
    QStringList blank;
    for (QuestionColumn column : QuestionTexts)
        if (stored.text(column).isEmpty()) {
            const QString &name = questionField(column).name;
            blank << (column == QuestionColumn::Pergunta ? name : name.toLower());
        }
    if (!found)
        view.problems << QStringLiteral("A pergunta número %1 não existe no banco de perguntas.").arg(id);
    else if (!blank.isEmpty())
        view.problems << QStringLiteral("A pergunta número %1 tem campos em branco: %2.")
                             .arg(id)
                             .arg(blank.join(QStringLiteral(", ")));
    if (found && !stored.correta.isEmpty()
        && std::find(stored.answers.begin(), stored.answers.end(), stored.correta) == stored.answers.end())
        view.problems << QStringLiteral("A resposta correta da pergunta número %1 não é nenhuma das "
                                        "quatro alternativas: ela não pode ser acertada.")
                             .arg(id);
    return view;
}

GameResult GameSession::finish()
{
    TGameState &g = m_state;
    GameResult result;
    result.playerName = g.PlayerName;
    result.right = g.RightCount;
    result.wrong = g.WrongCount;
    result.skipped = g.SkippedCount;
    g.GamePoints = PointsFor(g.RightCount, g.WrongCount, g.SkippedCount);
    result.points = g.GamePoints;
    result.tooManyWrong = g.GamePoints < 0;
    result.pointsShown = result.tooManyWrong ? QStringLiteral("0") : QString::number(g.GamePoints);

    // Decided and written as one step, against the record as it is stored now: another copy of
    // the game may have finished a moment ago. A tie with the record is a new record.
    try {
        m_record.settle([&](const RecordStore::Stored &stored) -> std::optional<Record> {
            if (stored.record) {
                g.RecordName = stored.record->name;
                g.RecordPoints = stored.record->points;
            }
            result.recordReadError = stored.readError;
            if (g.GamePoints < g.RecordPoints)
                return std::nullopt;
            result.newRecord = true;
            g.RecordName = g.PlayerName;
            g.RecordPoints = g.GamePoints;
            return Record{g.RecordName, g.RecordPoints};
        });
    } catch (const AppError &e) {
        result.recordError = e.text();
    }
    if (result.newRecord) {
        result.recordName = g.RecordName;
        result.recordPointsShown = QString::number(g.RecordPoints);
    } else {
        result.recordName = ShownRecordName(g.RecordName);
        result.recordPointsShown = g.RecordPoints > 0 ? QString::number(g.RecordPoints) : QString();
    }
    return result;
}
