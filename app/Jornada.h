#pragma once
// The game as the program runs it: the bank in use with its questions, record and administrator's
// account, the game session over them, the seven screens and the navigator between them. Built
// once at start-up and kept for the program's run; whoever needs a screen asks it here by the
// screen's instance name.
#include "app/Navigator.h"
#include "game/GameSession.h"
#include "store/bank/QuestionBank.h"

#include <QString>

#include <memory>

class AdminAccount;
class Bank;
class RecordStore;
class TFrmAlterarSenha;
class TFrmCadastro;
class TFrmInicial;
class TFrmInstrucao;
class TFrmPerguntas;
class TFrmResult;
class TFrmSenha;

class Jornada {
public:
    // Opens the bank in use and builds the game over it. When a table cannot be opened, returns
    // null, what was built being destroyed, and puts the bank's report of it in `fatalReport`.
    static std::unique_ptr<Jornada> create(QString &fatalReport);

    // Builds the game over `bank`: the screens hidden, their creation steps run. An error in a
    // creation step is reported and the building goes on; a table that cannot be opened throws
    // AppError, after what was built is destroyed in the reverse order.
    explicit Jornada(std::shared_ptr<Bank> bank);
    // The screens, and with them their tables, in the reverse order of creation; then what they
    // share.
    ~Jornada();
    Jornada(const Jornada &) = delete;
    Jornada &operator=(const Jornada &) = delete;

    // The screens under their instance names, in the order they are created; none is null once
    // the game is built.
    TFrmInicial *FrmInicial() const { return m_FrmInicial.get(); }
    TFrmPerguntas *FrmPerguntas() const { return m_FrmPerguntas.get(); }
    TFrmCadastro *FrmCadastro() const { return m_FrmCadastro.get(); }
    TFrmResult *FrmResult() const { return m_FrmResult.get(); }
    TFrmSenha *FrmSenha() const { return m_FrmSenha.get(); }
    TFrmInstrucao *FrmInstrucao() const { return m_FrmInstrucao.get(); }
    TFrmAlterarSenha *FrmAlterarSenha() const { return m_FrmAlterarSenha.get(); }

    // The game the screens show.
    GameSession &game() { return m_session; }
    // The question bank that game reads.
    TableQuestionBank &questionBank() { return m_questions; }

private:
    // Declared in the order of creation, so that they are destroyed in the reverse, also when the
    // building stops half-way.
    std::shared_ptr<Bank> m_bank;
    TableQuestionBank m_questions;
    std::unique_ptr<RecordStore> m_record;
    std::unique_ptr<AdminAccount> m_account; // opened with the login screen
    GameSession m_session;
    ScreenNavigator m_navigator;

    std::unique_ptr<TFrmInicial> m_FrmInicial;
    std::unique_ptr<TFrmPerguntas> m_FrmPerguntas;
    std::unique_ptr<TFrmCadastro> m_FrmCadastro;
    std::unique_ptr<TFrmResult> m_FrmResult;
    std::unique_ptr<TFrmSenha> m_FrmSenha;
    std::unique_ptr<TFrmInstrucao> m_FrmInstrucao;
    std::unique_ptr<TFrmAlterarSenha> m_FrmAlterarSenha;
};
