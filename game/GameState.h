#pragma once
// The state of one game. It belongs to the GameSession that plays the game; the screens see it
// only through what the session returns.
#include "store/core/GameRules.h"

#include <QString>
#include <array>

constexpr int QuestionsPerGame = GameRules::questionsPerGame;
constexpr int SkipLimit = GameRules::skipLimit;

struct TGameState {
    QString PlayerName;
    std::array<qint32, QuestionsPerGame> DrawnIds{};
    qint32 QuestionCount = 0;
    qint32 CandidateId = 0;
    qint32 CurrentIndex = 0;
    QString CorrectAnswer;
    qint32 RightCount = 0;
    qint32 WrongCount = 0;
    qint32 SkippedCount = 0;
    qint32 GamePoints = 0;
    QString RecordName;
    qint32 RecordPoints = 0;
};
