#include "app/Jornada.h"
#include "app/SetupCommand.h"

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
#include "store/bank/RecordStore.h"
#include "store/core/AppError.h"
#include "store/core/BankInUse.h"
#include "store/kinds/OpenBank.h"

#include <QCoreApplication>

std::unique_ptr<Jornada> Jornada::create(QString &fatalReport)
{
    const std::shared_ptr<Bank> bank = openBank(bankInUse());
    try {
        return std::make_unique<Jornada>(bank);
    } catch (const AppError &e) {
        const QString command = setupCommand(QCoreApplication::applicationDirPath(), qEnvironmentVariable("PATH"));
        fatalReport = bank->cannotStartReport(e, command);
        return nullptr;
    }
}

Jornada::Jornada(std::shared_ptr<Bank> bank)
    : m_bank(std::move(bank)), m_questions(m_bank), m_record(m_bank->record()), m_session(m_questions, *m_record),
      m_navigator(*this)
{
    // A bank that asks for it has its question table opened before any screen reads the bank or
    // the record; a folder's table is opened between the start screen and the question screen, as
    // it always was.
    if (m_bank->openedBeforeScreens())
        m_questions.open();
    m_FrmInicial = std::make_unique<TFrmInicial>(m_session, m_navigator);
    runGuarded([this] { m_FrmInicial->FormCreate(); });
    if (!m_bank->openedBeforeScreens())
        m_questions.open();
    m_FrmPerguntas = std::make_unique<TFrmPerguntas>(m_session, *m_bank, m_navigator);
    runGuarded([this] { m_FrmPerguntas->FormCreate(); });
    m_FrmCadastro = std::make_unique<TFrmCadastro>(m_bank, m_navigator);
    m_FrmResult = std::make_unique<TFrmResult>(m_session, m_navigator);
    m_account = m_bank->account();
    m_FrmSenha = std::make_unique<TFrmSenha>(*m_account, m_navigator);
    m_FrmInstrucao = std::make_unique<TFrmInstrucao>(m_navigator);
    m_FrmAlterarSenha = std::make_unique<TFrmAlterarSenha>(*m_account, m_navigator);
}

Jornada::~Jornada() = default;
