#pragma once
// What a screen asks of the others: shown, hidden, or told what the game or the login decided.
// The application keeps the screens and implements it; a screen knows no other screen.
#include <memory>

class Bank;
class QString;
struct GameResult;
struct NewGame;

class Navigator {
public:
    virtual ~Navigator() = default;

    // The question screen in front, showing the first question of a game just started.
    virtual void showGame(const NewGame &game) = 0;
    // The question screen hidden and the results screen in front, showing `result`.
    virtual void showResult(const GameResult &result) = 0;
    // The start screen in front, its name box cleared and focused for the next player; the
    // editor and the results screen closed (after giving up).
    virtual void backToStartAfterGivingUp() = 0;
    // The start screen in front, ready for the next player, and the question screen ready for a
    // new game (from the results screen).
    virtual void backToStartForAnotherGame() = 0;
    // A game drawn ahead for the next Play, loaded into the hidden question screen.
    virtual void loadGameAhead(const NewGame &game) = 0;
    // The record line of the start screen.
    virtual void showRecordLine(const QString &line) = 0;
    // Every screen closed, the password change excepted: the program ends.
    virtual void closeAll() = 0;

    virtual void showStart() = 0;
    virtual void showInstructions() = 0;
    // The login screen, "Adm" in its user box and the focus in its emptied password box.
    virtual void showLogin() = 0;
    // The login screen again after the password change: "Adm" and an empty password, the focus
    // in it when `focusPassword`.
    virtual void backToLogin(bool focusPassword) = 0;
    virtual void showPasswordChange() = 0;
    // The editor, reading and writing the questions at `bank`, as the administrator reaches it.
    virtual void showEditor(std::shared_ptr<Bank> bank) = 0;
};
