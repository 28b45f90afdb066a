#pragma once
// The rules of a game that every layer relies on: the game plays them (game/), the start screen
// limits the name it takes by them, and a bank holds a record to what a whole game can score.
namespace GameRules {

constexpr int questionsPerGame = 20;
constexpr int skipLimit = 2;
constexpr int pointsPerRight = 5;
constexpr int pointsPerWrong = 3; // taken away
constexpr int pointsPerSkip = 1;  // taken away
// The longest name the start screen takes, and the longest a record keeps.
constexpr int playerNameLength = 20;

// The points of a game with `right` right answers, `wrong` wrong ones and `skipped` skips.
constexpr int points(int right, int wrong, int skipped)
{
    return right * pointsPerRight - wrong * pointsPerWrong - skipped * pointsPerSkip;
}

// What a whole game can score: every answer right, or every answer wrong after every skip.
constexpr int highestScore = points(questionsPerGame, 0, 0);
constexpr int lowestScore = points(0, questionsPerGame, skipLimit);

} // namespace GameRules
