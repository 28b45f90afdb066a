#pragma once
// The random draw of a game's questions over the question bank.
#include "game/GameState.h"

#include <QString>

class QuestionBank;

// The refusal for a bank too small to play, in the player's language.
QString BankTooSmallMessage(qint32 questionCount);

// Draws one question at a time, every question of the bank with the same chance, at a cost that
// does not grow with the bank. A number is drawn evenly between the smallest and the largest Id
// and kept only when a question has exactly that number (an index seek); a number that falls in
// a gap is drawn again. Every number has the same chance, so every question has; a bank whose
// numbers are n times its questions costs n seeks per question on average. A bank whose numbers
// are mostly gaps (more than 64 times its questions), and a run of gaps far beyond what chance
// gives, are drawn by position instead, which is just as even but walks the index.
class QuestionPicker {
public:
    // Reads the smallest and largest Id, which every pick then uses.
    explicit QuestionPicker(QuestionBank &bank);
    // The id of a question drawn at random from a bank of `questionCount` questions; 0 when a
    // draw by position fell beyond the end (the bank shrank since it was counted).
    qint32 pick(qint32 questionCount);
    // How many numbers lie from the smallest to the largest Id; 0 when drawn by position only.
    qint64 numbers() const;

private:
    QuestionBank &m_bank;
    qint64 m_low = 0;
    qint64 m_numbers = 0;
};

// Fills DrawnIds with 20 distinct ids of questions that exist, drawn with QuestionPicker, and sets
// CandidateId. It always ends: fewer numbers between the smallest and largest Id than
// QuestionCount, or a position that yields no question, means the bank shrank since the last
// count, so it is counted again; a long run of repeats makes it count the distinct numbers (a
// table made by hand may repeat one). A bank that cannot give 20 different questions is refused
// with AppError and DrawnIds left empty (all 0).
void DrawQuestions(QuestionBank &bank, TGameState &state);
