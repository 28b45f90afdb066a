#pragma once
// Shows and hides the screens of the game, and passes between them what one tells another.
#include "screens/Navigator.h"

class Jornada;

class ScreenNavigator final : public Navigator {
public:
    // Works on the screens that `screens` holds, which outlives the navigator.
    explicit ScreenNavigator(const Jornada &screens) : m_screens(screens) {}

    void showGame(const NewGame &game) override;
    void showResult(const GameResult &result) override;
    void backToStartAfterGivingUp() override;
    void backToStartForAnotherGame() override;
    void loadGameAhead(const NewGame &game) override;
    void showRecordLine(const QString &line) override;
    void closeAll() override;
    void showStart() override;
    void showInstructions() override;
    void showLogin() override;
    void backToLogin(bool focusPassword) override;
    void showPasswordChange() override;
    void showEditor(std::shared_ptr<Bank> bank) override;

private:
    const Jornada &m_screens;
};
