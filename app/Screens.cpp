#include "app/Screens.h"
#include "app/Navigator.h"
#include "app/SetupCommand.h"
#include "game/GameSession.h"

#include "platform/ErrorReport.h"
#include "screens/Inicial.h"
#include "screens/Perguntas.h"
#include "screens/QuestoesRandom.h"
#include "screens/Resultado.h"
#include "screens/Senha.h"
#include "screens/Unit1.h"
#include "screens/alterarsenha.h"
#include "store/bank/AdminAccount.h"
#include "store/bank/Bank.h"
#include "store/bank/QuestionBank.h"
#include "store/bank/RecordStore.h"
#include "store/core/AppError.h"
#include "store/core/BankInUse.h"
#include "store/kinds/OpenBank.h"

#include <QCoreApplication>

#include <memory>

TFrmInicial *FrmInicial = nullptr;
TFrmPerguntas *FrmPerguntas = nullptr;
TFrmCadastro *FrmCadastro = nullptr;
TFrmResult *FrmResult = nullptr;
TFrmSenha *FrmSenha = nullptr;
TFrmInstrucao *FrmInstrucao = nullptr;
TFrmAlterarSenha *FrmAlterarSenha = nullptr;

namespace {

// What the screens share: the bank in use, its questions, record and account, the game over
// them, and the navigator between the screens.
struct Shared {
    explicit Shared(std::shared_ptr<Bank> inUse)
        : bank(std::move(inUse)), questions(bank), record(bank->record()), session(questions, *record)
    {
    }
    std::shared_ptr<Bank> bank;
    TableQuestionBank questions;
    std::unique_ptr<RecordStore> record;
    std::unique_ptr<AdminAccount> account; // opened with the login screen
    GameSession session;
    ScreenNavigator navigator;
};
std::unique_ptr<Shared> shared;

template <typename Screen>
void destroy(Screen *&screen)
{
    delete screen;
    screen = nullptr;
}

} // namespace

GameSession &Game()
{
    return shared->session;
}

TableQuestionBank &QuestionBankInUse()
{
    return shared->questions;
}

QString createScreens()
{
    const std::shared_ptr<Bank> bank = openBank(bankInUse());
    try {
        shared = std::make_unique<Shared>(bank);
        // A bank that asks for it has its question table opened before any screen reads the bank
        // or the record; a folder's table is opened between the start screen and the question
        // screen, as it always was.
        if (bank->openedBeforeScreens())
            shared->questions.open();
        GameSession &session = shared->session;
        Navigator &navigator = shared->navigator;
        FrmInicial = new TFrmInicial(session, navigator);
        runGuarded([] { FrmInicial->FormCreate(); });
        if (!bank->openedBeforeScreens())
            shared->questions.open();
        FrmPerguntas = new TFrmPerguntas(session, *bank, navigator);
        runGuarded([] { FrmPerguntas->FormCreate(); });
        FrmCadastro = new TFrmCadastro(bank, navigator);
        FrmResult = new TFrmResult(session, navigator);
        shared->account = bank->account();
        FrmSenha = new TFrmSenha(*shared->account, navigator);
        FrmInstrucao = new TFrmInstrucao(navigator);
        FrmAlterarSenha = new TFrmAlterarSenha(*shared->account, navigator);
    } catch (const AppError &e) {
        destroyScreens();
        return bank->cannotStartReport(e, setupCommand(QCoreApplication::applicationDirPath(), qEnvironmentVariable("PATH")));
    }
    return QString();
}

void destroyScreens()
{
    destroy(FrmAlterarSenha);
    destroy(FrmInstrucao);
    destroy(FrmSenha);
    destroy(FrmResult);
    destroy(FrmCadastro);
    destroy(FrmPerguntas);
    destroy(FrmInicial);
    shared.reset();
}
