#pragma once
// Driving a game through the screens' controls, as a player would.
#include <QList>
#include <QQueue>

#include "platform/Random.h"

class QRadioButton;

// Random numbers from a list, then from a fixed-seed generator: repeatable draws.
class SequenceRandom final : public RandomSource {
public:
    QQueue<int> next;
    int draw(int range) override;

private:
    unsigned m_state = 12345;
};

// Installs a SequenceRandom for the life of the guard.
class SequenceRandomGuard {
public:
    SequenceRandomGuard();
    ~SequenceRandomGuard();
    SequenceRandom *operator->() { return m_random; }

private:
    SequenceRandom *m_random;
    std::unique_ptr<RandomSource> m_previous;
};

namespace Play {

// Types the name on the start screen and clicks "Jogar".
void start(const QString &name);
// Checks the answer button that holds the right (or a wrong) answer and clicks "OK".
void answer(bool right);
// The answer button holding the right (or a wrong) answer of the question on screen.
QRadioButton *answerButton(bool right);
void skip();
// A whole game from the start screen: `skips` skips at the first question, then `right` right
// answers and `wrong` wrong ones (right + wrong = 20).
void game(const QString &name, int right, int wrong, int skips = 0);

} // namespace Play
