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
#include "store/core/AppError.h"
#include "store/core/BankInUse.h"
#include "store/core/DataDir.h"
#include "store/bank/QuestionBank.h"
#include "store/bank/RecordStore.h"
#include "store/tables/TableEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>

TFrmInicial *FrmInicial = nullptr;
TFrmPerguntas *FrmPerguntas = nullptr;
TFrmCadastro *FrmCadastro = nullptr;
TFrmResult *FrmResult = nullptr;
TFrmSenha *FrmSenha = nullptr;
TFrmInstrucao *FrmInstrucao = nullptr;
TFrmAlterarSenha *FrmAlterarSenha = nullptr;

namespace {

// What the screens share: the bank in use and its record, the game over them, and the navigator
// between the screens.
struct Shared {
    explicit Shared(const BankLocation &where) : bank(where), record(recordStoreAt(where)), session(bank, *record) {}
    TableQuestionBank bank;
    std::unique_ptr<RecordStore> record;
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
    return shared->bank;
}

QString createScreens()
{
    const BankLocation where = bankInUse();
    try {
        shared = std::make_unique<Shared>(where);
        // On a server the question table is opened before any screen reads the bank or the
        // record: a server that cannot be reached stops start-up with one report, rather than
        // one for the record and one for the tables. A folder's table is opened between the
        // start screen and the question screen, as it always was.
        if (where.isServer())
            shared->bank.open();
        GameSession &session = shared->session;
        Navigator &navigator = shared->navigator;
        FrmInicial = new TFrmInicial(session, navigator);
        runGuarded([] { FrmInicial->FormCreate(); });
        if (!where.isServer())
            shared->bank.open();
        FrmPerguntas = new TFrmPerguntas(session, navigator);
        runGuarded([] { FrmPerguntas->FormCreate(); });
        FrmCadastro = new TFrmCadastro(navigator);
        FrmResult = new TFrmResult(session, navigator);
        FrmSenha = new TFrmSenha(navigator);
        FrmInstrucao = new TFrmInstrucao(navigator);
        FrmAlterarSenha = new TFrmAlterarSenha(FrmSenha->account(), navigator);
    } catch (const AppError &e) {
        destroyScreens();
        if (where.isServer())
            return serverReport(where, e.text());
        return isTableInUse(e) ? tableInUseReport(e.text()) : missingDataReport(e.text());
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

QString missingDataReport(const QString &engineText)
{
    const QString folder = QDir::toNativeSeparators(dataDirectory());
    const QString command =
        setupCommand(QCoreApplication::applicationDirPath(), qEnvironmentVariable("PATH"));
    // What to do depends on what is there: the set-up program never replaces a table that exists
    // unless told to, and replacing the questions is what a teacher must choose knowingly.
    const QString createAll = QStringLiteral("Para criar a pasta de dados com o banco de perguntas de exemplo, "
                                             "execute o comando:\n\n%1").arg(command);
    const QString replaceBank =
        QStringLiteral("Se houver uma cópia de segurança da pasta de dados, restaure-a. Para recomeçar com o banco "
                       "de perguntas de exemplo (as perguntas cadastradas se perdem; o recorde fica), execute o "
                       "comando:\n\n%1 --substituir")
            .arg(command);
    QString what, todo = createAll;
    if (!QFileInfo(dataDirectory()).isDir()) {
        what = QStringLiteral("A pasta de dados %1 não existe.").arg(folder);
    } else {
        const bool noBank = !QFileInfo::exists(dataFile(QStringLiteral("Perguntas.DB")));
        const bool noAccount = !QFileInfo::exists(dataFile(QStringLiteral("inicial.db")));
        if (noBank && noAccount) {
            what = QStringLiteral("Faltam os arquivos Perguntas.DB e inicial.db na pasta de dados %1.").arg(folder);
        } else if (noAccount) {
            what = QStringLiteral("Falta o arquivo inicial.db na pasta de dados %1.").arg(folder);
            todo = QStringLiteral("Para criar de novo a conta do administrador, sem mexer nas perguntas nem no "
                                  "recorde, execute o comando abaixo e digite a senha nova:\n\n%1 --senha")
                       .arg(command);
        } else if (noBank) {
            what = QStringLiteral("Falta o arquivo Perguntas.DB na pasta de dados %1.").arg(folder);
            todo = replaceBank;
        } else {
            what = QStringLiteral("Uma tabela da pasta de dados %1 não pôde ser aberta: ela pode estar danificada.")
                       .arg(folder);
            todo = replaceBank;
        }
    }
    return QStringLiteral("O jogo não pode começar: %1\n\nDetalhe: %2\n\n%3").arg(what, engineText, todo);
}

QString tableInUseReport(const QString &engineText)
{
    // The tables are there: setting up the folder again would not help, and would lose the bank.
    return QStringLiteral("O jogo não pode começar: outro programa está usando o banco de perguntas na "
                          "pasta de dados %1.\n\nDetalhe: %2\n\n"
                          "Feche o outro programa (ou espere que ele termine) e abra o jogo de novo.")
        .arg(QDir::toNativeSeparators(dataDirectory()), engineText);
}

QString serverReport(const BankLocation &server, const QString &engineText)
{
    // The folder's remedies (the set-up program, a backup) do not apply: the bank is the lab's.
    return QStringLiteral("O jogo não pode começar: o banco de perguntas desta máquina fica no %1, que não pôde "
                          "ser usado.\n\nDetalhe: %2\n\n"
                          "Confira se o servidor está ligado e se esta máquina chega até ele. O servidor é escolhido "
                          "pela chave servidor do grupo [banco] em /etc/xdg/jornada/jornada.conf (para todos os "
                          "usuários) ou em ~/.config/jornada/jornada.conf; sem ela, o jogo usa a pasta de dados.")
        .arg(server.description(), engineText);
}
