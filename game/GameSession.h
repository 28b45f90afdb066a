#pragma once
// One game, from the player's name to its result against the record. Every rule of the game lives
// here, without widgets, over the question bank and the record of store/: the draw, the answer
// check, the skips, giving up, scoring and the record. The screens call its verbs and show what
// they return.
#include "game/GameState.h"

#include <QStringList>

#include <array>
#include <optional>

class QuestionBank;
class RecordStore;

// A question as the question screen shows it.
struct QuestionView {
    qint32 place = 1;      // its place in the game, 1 to 20
    qint32 id = 0;         // its number in the bank
    bool readable = true;  // false: the bank could not be read; nothing to answer until "OK" reads it again
    QString pergunta;
    std::array<QString, 4> answers;
    QString foto;          // the path of its photo; empty for none
    QStringList problems;  // what keeps it from being shown or answered as it should
    bool canSkip = true;   // the player has a skip left
};

// A game just drawn: its first question, and the photos of its questions in the order they will
// be asked (for decoding them while the player reads).
struct NewGame {
    QuestionView first;
    QStringList photos;
};

// A finished game as the results screen shows it.
struct GameResult {
    QString playerName;
    qint32 right = 0;
    qint32 wrong = 0;
    qint32 skipped = 0;
    qint32 points = 0;         // may be negative
    QString pointsShown;       // "0" below zero
    bool tooManyWrong = false; // below zero: the player is told to pay more attention
    bool newRecord = false;
    QString recordName;        // as shown
    QString recordPointsShown; // empty for a record of 0 points or less
    QString recordReadError;   // the stored record could not be read: the one in memory stood for it
    QString recordError;       // the record could not be settled or stored
};

// What an accepted "OK" leads to.
struct AnswerOutcome {
    bool counted = false;             // false when "OK" only read again a question that could not be read
    bool right = false;
    QString countError;               // the bank could not be counted: the next question waits for "OK"
    std::optional<QuestionView> next; // while the game goes on
    std::optional<GameResult> result; // after the 20th answer
};

struct SkipOutcome {
    QuestionView question; // the replacement, in the skipped question's place
    bool lastSkip = false; // no skip is left now
};

// The record holder's name as the screens show it. The record file's name has no length limit,
// and laying out a name of megabytes on every paint would freeze the screen: a name longer than
// RecordNameShownLength characters is shown as its first RecordNameShownLength - 1 characters and
// "…", short enough for the start screen's record line to keep its points in view.
constexpr int RecordNameShownLength = 24;
QString ShownRecordName(const QString &name);

// The points of a game: 5 a right answer, minus 3 a wrong one, minus 1 a skip.
qint32 PointsFor(qint32 right, qint32 wrong, qint32 skipped);

class GameSession {
public:
    GameSession(QuestionBank &bank, RecordStore &record);

    const TGameState &state() const;

    // Reads the stored record into the session; false, changing nothing, when none is stored.
    // Throws AppError, changing nothing, when it cannot be read.
    bool loadRecord();
    // "Ana - 85 pontos": the record held in the session.
    QString recordLine() const;

    // Counts the bank and draws a game, so that one is ready before the first Play.
    NewGame prepare();
    // A new game for `playerName`, from zero. A bank too small for a game is refused with
    // AppError, and nothing changes.
    NewGame start(const QString &playerName);
    // The answer at `choice` (0 to 3) of the question on screen is accepted. While the question of
    // this place could not be read, the choice is ignored and it is read again instead.
    AnswerOutcome answer(int choice);
    // Replaces the question on screen by one drawn from the whole bank; nothing when no skip is
    // left. A bank that cannot be read throws AppError with nothing counted.
    std::optional<SkipOutcome> skip();
    // Abandons the game: nothing is scored.
    void giveUp();
    // After a finished game: the counters back to zero at once, then the bank counted and a game
    // drawn for the next Play. Throws AppError after the reset when the bank cannot give one.
    NewGame playAgain();

private:
    void resetCounters();
    NewGame drawGame();
    QuestionView questionAt(qint32 id);
    QuestionView unreadQuestion(qint32 id);
    GameResult finish();

    QuestionBank &m_bank;
    RecordStore &m_record;
    TGameState m_state;
    // The answers of the question on screen, as the player sees them.
    std::array<QString, 4> m_answers;
    // The question of this place, when it could not be read: "OK" reads it again.
    std::optional<qint32> m_pending;
};
