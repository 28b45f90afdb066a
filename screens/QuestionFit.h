#pragma once
// What fits the question screen. The question's label and the answers' buttons have fixed sizes;
// a text longer than its place is shown shortened after a whole word, with "…", and is read
// whole by a screen reader. The editor's save and the import warn about such texts, measured
// here with the game's own font (registerGameFonts() first, for the face the game shows).
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

struct Question;

namespace QuestionFit {

// The question's label on the question screen, word-wrapped.
inline constexpr QRect QuestionBox{95, 60, 433, 77};
// An answer's button, and the width its one line of text has beside the round indicator.
inline constexpr QRect FirstAnswerButton{95, 170, 425, 17};
inline constexpr int AnswerTextWidth = 400;

QFont questionFont();
QFont answerFont();

// `text` as the question's label shows it: whole when it fits the box, or else the longest run of
// whole words that fits with "…" after it.
QString shownQuestion(const QString &text);
// `text` as an answer's button shows it, on one line, shortened the same way.
QString shownAnswer(const QString &text);

// One warning in Portuguese for each text of `question` that the question screen shows
// shortened; empty when everything fits.
QStringList warnings(const Question &question);

} // namespace QuestionFit
