#include "app/Navigator.h"

#include "app/Screens.h"
#include "game/GameSession.h"
#include "platform/Dialogs.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"
#include "screens/Senha.h"
#include "screens/Unit1.h"
#include "screens/alterarsenha.h"

void ScreenNavigator::showGame(const NewGame &game)
{
    FrmPerguntas->showScreen();
    FrmPerguntas->ShowNewGame(game);
}

void ScreenNavigator::showResult(const GameResult &result)
{
    // A record that could not be read is reported first; the game ends with the record held in
    // memory.
    if (!result.recordReadError.isEmpty())
        Dialogs::error(result.recordReadError);
    FrmPerguntas->hide();
    FrmResult->showScreen();
    FrmResult->ShowResult(result);
}

void ScreenNavigator::backToStartAfterGivingUp()
{
    FrmInicial->showScreen();
    FrmCadastro->close();
    FrmResult->close();
    FrmInicial->ReadyForNextPlayer();
}

void ScreenNavigator::backToStartForAnotherGame()
{
    // The results screen stays open behind the start screen.
    FrmInicial->showScreen();
    FrmPerguntas->ResetForNewGame();
    FrmInicial->ReadyForNextPlayer();
}

void ScreenNavigator::loadGameAhead(const NewGame &game)
{
    FrmPerguntas->ShowNewGame(game);
}

void ScreenNavigator::showRecordLine(const QString &line)
{
    FrmInicial->ShowRecordLine(line);
}

void ScreenNavigator::closeAll()
{
    // Closing the start screen, fifth, ends the program once the running handler returns; the
    // password change screen is left as it is.
    FrmPerguntas->close();
    FrmCadastro->close();
    FrmResult->close();
    FrmSenha->close();
    FrmInicial->close();
    FrmInstrucao->close();
}

void ScreenNavigator::showStart()
{
    FrmInicial->showScreen();
}

void ScreenNavigator::showInstructions()
{
    FrmInstrucao->showScreen();
}

void ScreenNavigator::showLogin()
{
    FrmSenha->OpenLogin();
}

void ScreenNavigator::backToLogin(bool focusPassword)
{
    FrmSenha->OpenLogin(focusPassword);
}

void ScreenNavigator::showPasswordChange()
{
    FrmAlterarSenha->Open();
}

void ScreenNavigator::showEditor(std::shared_ptr<Bank> bank)
{
    FrmCadastro->OpenEditor(std::move(bank));
}
