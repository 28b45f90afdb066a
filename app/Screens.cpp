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
#include "store/AppError.h"
#include "store/DataDir.h"
#include "store/QuestionBank.h"
#include "store/RecordStore.h"
#include "store/TableEngine.h"

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

// What the screens share: the bank and the record of the data directory, the game over them,
// and the navigator between the screens.
struct Shared {
    TableQuestionBank bank{dataDirectory()};
    RecordFileStore record;
    GameSession session{bank, record};
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
    try {
        shared = std::make_unique<Shared>();
        GameSession &session = shared->session;
        Navigator &navigator = shared->navigator;
        FrmInicial = new TFrmInicial(session, navigator);
        runGuarded([] { FrmInicial->FormCreate(); });
        shared->bank.open();
        FrmPerguntas = new TFrmPerguntas(session, navigator);
        runGuarded([] { FrmPerguntas->FormCreate(); });
        FrmCadastro = new TFrmCadastro(navigator);
        FrmResult = new TFrmResult(session, navigator);
        FrmSenha = new TFrmSenha(navigator);
        FrmInstrucao = new TFrmInstrucao(navigator);
        FrmAlterarSenha = new TFrmAlterarSenha(*FrmSenha->TbSenha, navigator);
    } catch (const AppError &e) {
        destroyScreens();
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
    QString what;
    if (!QFileInfo(dataDirectory()).isDir()) {
        what = QStringLiteral("A pasta de dados %1 não existe.").arg(folder);
    } else {
        QStringList missing;
        for (const QString &table : {QStringLiteral("Perguntas.DB"), QStringLiteral("inicial.db")})
            if (!QFileInfo::exists(dataFile(table)))
                missing << table;
        if (missing.size() == 1)
            what = QStringLiteral("Falta o arquivo %1 na pasta de dados %2.").arg(missing.first(), folder);
        else if (missing.size() == 2)
            what = QStringLiteral("Faltam os arquivos %1 na pasta de dados %2.")
                       .arg(missing.join(QStringLiteral(" e ")), folder);
        else
            what = QStringLiteral("Uma tabela da pasta de dados %1 não pôde ser aberta.").arg(folder);
    }
    const QString command =
        setupCommand(QCoreApplication::applicationDirPath(), qEnvironmentVariable("PATH"));
    return QStringLiteral("O jogo não pode começar: %1\n\nDetalhe: %2\n\n"
                          "Para criar a pasta de dados com o banco de perguntas de exemplo, "
                          "execute o comando:\n\n%3")
        .arg(what, engineText, command);
}

QString tableInUseReport(const QString &engineText)
{
    // The tables are there: setting up the folder again would not help, and would lose the bank.
    return QStringLiteral("O jogo não pode começar: outro programa está usando o banco de perguntas na "
                          "pasta de dados %1.\n\nDetalhe: %2\n\n"
                          "Feche o outro programa (ou espere que ele termine) e abra o jogo de novo.")
        .arg(QDir::toNativeSeparators(dataDirectory()), engineText);
}
