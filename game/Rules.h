#pragma once
// The rules of a game over the question bank and the record file, without widgets. Each works on
// GameState; the statements it runs belong to the question screen and are handed in.
#include <QString>
#include <QStringList>
#include <array>

class Query;

// The points of a game: 5 a right answer, minus 3 a wrong one, minus 1 a skip. A whole game
// (20 answers, at most 2 skips) scores from -62 to 100.
qint32 PointsFor(qint32 right, qint32 wrong, qint32 skipped);

// The refusal for a bank too small to play, in the player's language.
QString BankTooSmallMessage(qint32 questionCount);

// Sets QuestionCount to the number of questions in the bank.
void CountQuestions(Query &QuerySql);

// The id of the question at `position` (0-based) in number order, or 0 when there is none.
qint32 QuestionIdAt(Query &QueryPosicao, qint32 position);

// Fills DrawnIds with 20 distinct ids of questions that exist, drawn at random from the
// positions 0 to QuestionCount - 1. It always ends: a position that yields no question means the
// bank shrank since the last count, so it is counted again; a long run of repeats makes it count
// the distinct numbers (a table made by hand may repeat one). A bank that cannot give 20
// different questions is refused with AppError and DrawnIds left empty (all 0).
void DrawQuestions(Query &QueryPosicao, Query &QuerySql);

// One question as read from the bank.
struct QuestionRead {
    bool found = false;
    QString pergunta;
    std::array<QString, 4> answers;
    QString correta;
    QString foto;
    // What keeps it from being a sound question, in the player's language: no such question,
    // blank fields, a right answer that is none of the four.
    QStringList problems;
};

// Reads question `id` and sets CorrectAnswer to its Correta text.
QuestionRead ReadQuestion(Query &QuerySql2, qint32 id);

// Whether `answer` is the right answer of the question on screen: its text equals CorrectAnswer
// exactly. A question without a right answer (a blank Correta, or none read) has no right answer.
bool AnswerIsRight(const QString &answer);

// Counts an accepted answer, right or wrong, and moves to the next place of the game.
void RecordAnswer(bool right);

// The 20th answer has been given.
bool GameIsOver();

// A skip: counts the bank, draws a replacement from the whole of it into CandidateId and counts
// the skip; a bank that cannot be read throws AppError with nothing counted. Returns true when
// this was the last skip allowed.
bool RecordSkip(Query &QuerySql, Query &QueryPosicao);

// Sets RightCount, WrongCount, CurrentIndex and SkippedCount to 0, as for a new game.
void ResetCounters();

// Reads the record file into RecordName and RecordPoints; false when there is none. A file that
// cannot be read throws AppError and leaves both as they were.
bool ReloadRecord();

// The record holder's name as the screens show it. The record file's name has no length limit
// (the name box takes 20 characters, but the file may have been written by anything), and laying
// out a name of megabytes on every paint would freeze the screen: a name longer than
// RecordNameShownLength characters is shown as its first RecordNameShownLength - 1 characters
// and "…", short enough for the start screen's record line to keep its points in view.
constexpr int RecordNameShownLength = 24;
QString ShownRecordName(const QString &name);

// Sets GamePoints from the counters of a finished game. Throws AppError, changing nothing, when the
// counters are not those of a whole game (20 answers, at most 2 skips).
void ScoreGame();

// Whether GamePoints makes a new record: equal to or above RecordPoints.
bool IsNewRecord();

// Makes `holder` with GamePoints the record, in memory and in the record file.
void SetNewRecord(const QString &holder);

// What ClaimRecord decided.
struct RecordClaim {
    bool isNew = false;  // GamePoints made a new record (and is now the record in memory)
    QString writeError;  // why the record file could not be written, when it could not
};

// Settles a finished game against the record as one step across every copy of the game on the
// data directory: under the record's lock, the record file is read again, GamePoints compared
// with what it holds, and a new record written, so that a copy finishing at the same moment
// compares with this record and never overwrites a higher one. RecordName and RecordPoints end
// as the record file has them. Throws AppError when another copy holds the record too long.
RecordClaim ClaimRecord(const QString &holder);
