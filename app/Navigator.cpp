#include "app/Navigator.h"

#include "app/Jornada.h"
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
    m_screens.FrmPerguntas()->showScreen();
    m_screens.FrmPerguntas()->ShowNewGame(game);
}

void ScreenNavigator::showResult(const GameResult &result)
{
    // A record that could not be read is reported first; the game ends with the record held in
    // memory.
    if (!result.recordReadError.isEmpty())
        Dialogs::error(result.recordReadError);
    m_screens.FrmPerguntas()->hide();
    m_screens.FrmResult()->showScreen();
    m_screens.FrmResult()->ShowResult(result);
}

void ScreenNavigator::backToStartAfterGivingUp()
{
    m_screens.FrmInicial()->showScreen();
    m_screens.FrmCadastro()->close();
    m_screens.FrmResult()->close();
    m_screens.FrmInicial()->ReadyForNextPlayer();
}

void ScreenNavigator::backToStartForAnotherGame()
{
    // The results screen stays open behind the start screen.
    m_screens.FrmInicial()->showScreen();
    m_screens.FrmPerguntas()->ResetForNewGame();
    m_screens.FrmInicial()->ReadyForNextPlayer();
}

void ScreenNavigator::loadGameAhead(const NewGame &game)
{
    m_screens.FrmPerguntas()->ShowNewGame(game);
}

void ScreenNavigator::showRecordLine(const QString &line)
{
    m_screens.FrmInicial()->ShowRecordLine(line);
}

void ScreenNavigator::closeAll()
{
    // Closing the start screen, fifth, ends the program once the running handler returns; the
    // password change screen is left as it is.
    m_screens.FrmPerguntas()->close();
    m_screens.FrmCadastro()->close();
    m_screens.FrmResult()->close();
    m_screens.FrmSenha()->close();
    m_screens.FrmInicial()->close();
    m_screens.FrmInstrucao()->close();
}

void ScreenNavigator::showStart()
{
    m_screens.FrmInicial()->showScreen();
}

void ScreenNavigator::showInstructions()
{
    m_screens.FrmInstrucao()->showScreen();
}

void ScreenNavigator::showLogin()
{
    m_screens.FrmSenha()->OpenLogin();
}

void ScreenNavigator::backToLogin(bool focusPassword)
{
    m_screens.FrmSenha()->OpenLogin(focusPassword);
}

void ScreenNavigator::showPasswordChange()
{
    m_screens.FrmAlterarSenha()->Open();
}

void ScreenNavigator::showEditor(std::shared_ptr<Bank> bank)
{
    m_screens.FrmCadastro()->OpenEditor(std::move(bank));
}
