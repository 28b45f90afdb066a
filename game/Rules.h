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

// Sets QuestionCount to the number of questions in the bank. The count is kept while the question
// table is unchanged, and made again after any change to it, by this program or another.
void CountQuestions(Query &QuerySql);
// Makes the next CountQuestions count the table even if it is unchanged, as at a program's start.
void ForgetQuestionCount();

// The id of the question at `position` (0-based) in number order, or 0 when there is none.
qint32 QuestionIdAt(Query &QueryPosicao, qint32 position);

// Whether a question has the number `number`: one seek of the index on Id.
bool QuestionNumbered(Query &QueryPosicao, qint32 number);

// Draws one question at a time, every question of the bank with the same chance, at a cost that
// does not grow with the bank. A number is drawn evenly between the smallest and the largest Id
// and kept only when a question has exactly that number (an index seek); a number that falls in
// a gap is drawn again. Every number has the same chance, so every question has; a bank whose
// numbers are n times its questions costs n seeks per question on average. A bank whose numbers
// are mostly gaps (more than 64 times its questions), and a run of gaps far beyond what chance
// gives, are drawn by position instead (QuestionIdAt), which is just as even but walks the index.
class QuestionPicker {
public:
    // Reads the smallest and largest Id with `QueryPosicao`, which every pick then uses.
    explicit QuestionPicker(Query &QueryPosicao);
    // The id of a question drawn at random from a bank of `questionCount` questions; 0 when a
    // draw by position fell beyond the end (the bank shrank since it was counted).
    qint32 pick(qint32 questionCount);
    // How many numbers lie from the smallest to the largest Id; 0 when drawn by position only.
    qint64 numbers() const;

private:
    Query &m_query;
    qint64 m_low = 0;
    qint64 m_numbers = 0;
};

// Fills DrawnIds with 20 distinct ids of questions that exist, drawn with QuestionPicker. It
// always ends: fewer numbers between the smallest and largest Id than QuestionCount, or a
// position that yields no question, means the bank shrank since the last count, so it is counted
// again; a long run of repeats makes it count
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

// A skip: counts the bank, draws a replacement from the whole of it (QuestionPicker) into CandidateId and counts
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
