// jornada-dados: creates the game's data directory with the sample question bank, imports
// questions from a CSV file or a workbook into its bank (adding, or updating by Id), and exports
// the bank to a CSV file or a workbook.
//
//   jornada-dados [--substituir] [--origem PASTA] [PASTA_DE_DADOS]
//   jornada-dados --importar ARQUIVO.csv|.xlsx|.ods [PASTA_DE_DADOS]
//   jornada-dados --atualizar ARQUIVO.csv|.xlsx|.ods [PASTA_DE_DADOS]
//   jornada-dados --exportar ARQUIVO.csv|ARQUIVO.xlsx [PASTA_DE_DADOS]
//   jornada-dados --senha [PASTA_DE_DADOS]
//   jornada-dados --servidor CONEXÃO [--administrador NOME] [--alunos NOME] [--senha-alunos SENHA]
//   jornada-dados --copiar [PASTA_DE_DADOS] [--servidor CONEXÃO] [--alunos NOME] [--senha-alunos SENHA]
//   jornada-dados --help | --version
//
// Creates PASTA_DE_DADOS (by default the game's own data directory) with Perguntas.DB, filled
// from <origem>/perguntas.tsv (by default the installed sample bank, or the source tree's when the
// program runs from its build folder), and inicial.db with the administrator account Adm / 1234, and
// copies the photos that the questions use from <origem>/fotos into PASTA_DE_DADOS/fotos. The
// record file Recorde.txt is never touched. Existing tables are replaced only with --substituir.
// The import and the export are those of store/QuestionImport.h and store/QuestionExport.h; the
// import checks every photo with
// the game's own picture loader. --senha sets the administrator's password alone, read from the
// terminal (typed twice, not shown) or from one line of standard input.
//
// On a PostgreSQL server (--servidor CONEXÃO, a libpq connection string of a role that may create
// roles and schemas) the bank is made whole, with the administrator's role and the pupils' role
// (store/ServerRoles.h), from the sample bank or, with --copiar, from a data folder's bank. The
// import, the export and --senha work on the bank the game uses (the folder, or the server of
// the machine's setting), on the folder given, or on the server given with --servidor.
#include "platform/PhotoFit.h"
#include "platform/Pictures.h"
#include "screens/Fonts.h"
#include "screens/QuestionFit.h"
#include "store/bank/AdminAccount.h"
#include "store/bank/Bank.h"
#include "store/core/AppError.h"
#include "store/core/BankInUse.h"
#include "store/core/DataDir.h"
#include "store/exchange/QuestionExport.h"
#include "store/exchange/QuestionImport.h"
#include "store/folder/DataFolder.h"
#include "store/kinds/FolderToServer.h"
#include "store/kinds/OpenBank.h"
#include "store/server/Conninfo.h"
#include "store/server/NewServerBank.h"
#include "store/tables/TableErrors.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

void say(const QString &text) { std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stdout); }
void complain(const QString &text)
{
    std::fputs((QStringLiteral("jornada-dados: ") + text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

void sayDone(const DataDirectoryReport &report)
{
    const QString verb = report.replaced ? QStringLiteral("Substituída") : QStringLiteral("Criada");
    say(QStringLiteral("Pasta de dados: %1").arg(report.folder));
    say(QStringLiteral("%1 a tabela Perguntas.DB com %2 perguntas.").arg(verb).arg(report.questions));
    say(QStringLiteral("Fotos copiadas para %1: %2.").arg(report.photoFolder).arg(report.photos));
    say(QStringLiteral("%1 a tabela inicial.db com a conta do administrador: login \"%2\", senha \"%3\".")
            .arg(verb, QString::fromLatin1(defaultAdminLogin), QString::fromLatin1(defaultAdminPassword)));
    say(QStringLiteral("O recorde (Recorde.txt) não foi alterado."));
}

// The line of the machines' setting that points the game at the bank made on the server of
// `connection`: the same server and database, as the pupils' role. The pupils' password is shown
// only when it is the documented default; one given on the command line is not repeated.
QString pupilsSetting(const QString &connection, const ServerRoles &roles, bool usualPassword)
{
    const QString setting = printableConnection(connectionAs(connection, roles.pupils, QStringLiteral("x")));
    return QStringLiteral("servidor=%1 password=%2")
        .arg(setting, usualPassword ? QString::fromLatin1(defaultPupilsPassword)
                                      : QStringLiteral("(a senha dada em --senha-alunos)"));
}

void sayServerRoles(const QString &connection, const ServerBankReport &report, const QString &administratorPassword,
                    bool usualPupilsPassword)
{
    say(QStringLiteral("Papel do administrador: \"%1\", %2. São o \"Usuário\" e a \"Senha\" da tela de senha do "
                       "jogo; a senha se troca pela tela \"Alterar Senha\".")
            .arg(report.roles.administrator, administratorPassword));
    say(QStringLiteral("Papel dos alunos: \"%1\". Ele só lê as perguntas e as fotos e registra o recorde.")
            .arg(report.roles.pupils));
    say(QStringLiteral("Em cada máquina do laboratório, ponha no arquivo /etc/xdg/jornada/jornada.conf (troque o "
                       "host pelo nome do servidor na rede, se preciso):"));
    say(QStringLiteral("[banco]"));
    say(pupilsSetting(connection, report.roles, usualPupilsPassword));
}

void sayServerDone(const QString &connection, const ServerBankReport &report, bool usualPupilsPassword)
{
    say(QStringLiteral("Banco de perguntas criado no %1: %2 perguntas, %3 fotos.")
            .arg(report.server)
            .arg(report.questions)
            .arg(report.photos));
    sayServerRoles(connection, report,
                   QStringLiteral("com a senha inicial \"%1\"").arg(QString::fromLatin1(defaultAdminPassword)),
                   usualPupilsPassword);
}

void sayCopied(const QString &folder, const QString &connection, const ServerBankReport &report,
               bool usualPupilsPassword)
{
    say(QStringLiteral("O banco da pasta %1 foi copiado para o %2: %3 perguntas, %4 fotos, %5.")
            .arg(folder, report.server)
            .arg(report.questions)
            .arg(report.photos)
            .arg(report.record ? QStringLiteral("o recorde (%1, %2 pontos)").arg(report.record->name).arg(report.record->points)
                               : QStringLiteral("nenhum recorde")));
    sayServerRoles(connection, report, QStringLiteral("com a senha da pasta"), usualPupilsPassword);
    say(QStringLiteral("A pasta não foi alterada."));
}

// The sample bank this program comes with: where an installation puts it beside the program, or
// else the source tree that the program was built from.
QString defaultSource()
{
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                                              + QStringLiteral(JORNADA_SAMPLE_BANK_FROM_BIN));
    if (QFileInfo(installed + QStringLiteral("/perguntas.tsv")).isFile())
        return installed;
    const QString sourceTree = QStringLiteral(JORNADA_DATA_SOURCE);
    if (QFileInfo(sourceTree + QStringLiteral("/perguntas.tsv")).isFile())
        return sourceTree;
    return installed;
}

void sayImported(const QString &csvPath, const ImportReport &report)
{
    const qint64 first = qint64(report.firstId);
    if (report.replaced == 0 && report.unchanged == 0) {
        if (report.added == 0)
            say(QStringLiteral("Nenhuma pergunta nova em %1; %2 não foi alterado.").arg(csvPath, report.table));
        else if (report.added == 1)
            say(QStringLiteral("Importada 1 pergunta de %1 para %2, com o número %3.").arg(csvPath, report.table).arg(first));
        else
            say(QStringLiteral("Importadas %1 perguntas de %2 para %3, com os números %4 a %5.")
                    .arg(report.added)
                    .arg(csvPath, report.table)
                    .arg(first)
                    .arg(first + report.added - 1));
    } else {
        say(QStringLiteral("Atualizado %1 a partir de %2. Perguntas substituídas: %3; acrescentadas: %4; iguais às "
                           "do banco: %5.")
                .arg(report.table, csvPath)
                .arg(report.replaced)
                .arg(report.added)
                .arg(report.unchanged));
    }
    if (report.skipped > 0)
        say(report.skipped == 1 ? QStringLiteral("1 linha não foi acrescentada, por repetir uma pergunta.")
                                : QStringLiteral("%1 linhas não foram acrescentadas, por repetirem perguntas.")
                                      .arg(report.skipped));
    for (const QString &change : report.changes)
        say(change);
    say(QStringLiteral("Fotos copiadas para %1: %2.").arg(report.photoFolder).arg(report.photosCopied));
    if (report.photosFitted > 0)
        say(QStringLiteral("Fotos maiores que o dobro do quadro da foto (%1 x %2 pixels), guardadas como cópias "
                           "ajustadas ao quadro: %3; os arquivos originais não foram alterados.")
                .arg(PhotoBoxSize.width())
                .arg(PhotoBoxSize.height())
                .arg(report.photosFitted));
    if (!report.warnings.isEmpty()) {
        say(QStringLiteral("Aviso: estes textos não aparecem inteiros na tela de perguntas (o jogador os vê "
                           "encurtados, com reticências; encurte-os no editor, se quiser):"));
        for (const QString &warning : report.warnings)
            say(warning);
    }
}

void sayExported(const Bank &bank, const QString &path, const ExportReport &report)
{
    say(QStringLiteral("%1 %2 para %3.")
            .arg(report.questions == 1 ? QStringLiteral("Exportada 1 pergunta")
                                       : QStringLiteral("Exportadas %1 perguntas").arg(report.questions))
            .arg(bank.questionsPlace(), path));
    say(QStringLiteral("Fotos copiadas para %1: %2.").arg(report.photoFolder).arg(report.photosCopied));
    if (!report.warnings.isEmpty()) {
        say(QStringLiteral("Aviso: estas fotos não foram encontradas e não acompanham o arquivo:"));
        for (const QString &warning : report.warnings)
            say(warning);
    }
}

// One line of standard input, without its line end. On a terminal the line is not shown while it
// is typed, and `prompt` goes to standard error.
QString readSecretLine(const QString &prompt)
{
    const bool terminal = ::isatty(STDIN_FILENO);
    termios saved{};
    if (terminal) {
        std::fputs(prompt.toUtf8().constData(), stderr);
        std::fflush(stderr);
        if (::tcgetattr(STDIN_FILENO, &saved) == 0) {
            termios quiet = saved;
            quiet.c_lflag &= ~tcflag_t(ECHO);
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        }
    }
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        line.push_back(char(c));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
}

// The new password: typed twice on a terminal, one line from a pipe.
QString readNewPassword()
{
    const QString password = readSecretLine(QStringLiteral("Nova senha do administrador (até 7 caracteres): "));
    if (::isatty(STDIN_FILENO)
        && readSecretLine(QStringLiteral("Confirme a nova senha: ")) != password)
        throw AppError(QStringLiteral("a nova senha não é idêntica à confirmação; nada foi alterado"));
    return password;
}

// The copy of a large photo fitted to the photo box, which the import stores in its place.
std::optional<FittedPhoto> fitPhoto(const QString &path)
{
    const std::optional<FittedCopy> copy = fittedCopyOf(path);
    if (!copy)
        return std::nullopt;
    return FittedPhoto{copy->bytes, copy->name};
}

// A photo passes when the game's picture loader can show it.
void checkPhoto(const QString &path)
{
    if (loadPicture(path).isNull())
        throw AppError(QStringLiteral("a imagem está vazia"));
}

} // namespace

int main(int argc, char *argv[])
{
    // The picture loader draws metafiles with Qt's painter, which needs a GUI application; this
    // program shows no window, so it never needs a display.
    // What the platform says while it starts (no runtime folder for the display, and the like)
    // is of no use to the user of a command without windows.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtMessageHandler previousHandler = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(previousHandler);
    QCoreApplication::setApplicationVersion(QStringLiteral(JORNADA_VERSION));
    const QString source = defaultSource();
    // Texts are measured as the question screen shows them.
    registerGameFonts();

    QCommandLineParser parser;
    const QCommandLineOption replaceOption(QStringLiteral("substituir"),
                                           QStringLiteral("Substitui as tabelas que já existirem na pasta."));
    const QCommandLineOption sourceOption(QStringLiteral("origem"),
                                          QStringLiteral("Pasta com perguntas.tsv e fotos/ (padrão: %1).")
                                              .arg(source),
                                          QStringLiteral("PASTA"));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("ajuda")},
                                        QStringLiteral("Mostra esta ajuda."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version"), QStringLiteral("versao")},
                                           QStringLiteral("Mostra a versão."));
    const QCommandLineOption importOption(QStringLiteral("importar"),
                                          QStringLiteral("Acrescenta ao banco as perguntas de um arquivo CSV, .xlsx ou .ods."),
                                          QStringLiteral("ARQUIVO"));
    const QCommandLineOption updateOption(QStringLiteral("atualizar"),
                                          QStringLiteral("Atualiza o banco pelo Id, a partir de um arquivo CSV, .xlsx ou .ods."),
                                          QStringLiteral("ARQUIVO"));
    const QCommandLineOption exportOption(QStringLiteral("exportar"),
                                          QStringLiteral("Grava o banco inteiro num arquivo CSV ou .xlsx."),
                                          QStringLiteral("ARQUIVO"));
    const QCommandLineOption passwordOption(QStringLiteral("senha"),
                                            QStringLiteral("Troca só a senha do administrador."));
    const QCommandLineOption serverOption(QStringLiteral("servidor"),
                                          QStringLiteral("O banco num servidor PostgreSQL."), QStringLiteral("CONEXÃO"));
    const QCommandLineOption copyOption(QStringLiteral("copiar"),
                                        QStringLiteral("Copia o banco de uma pasta de dados para um servidor."));
    const QCommandLineOption administratorOption(QStringLiteral("administrador"),
                                                 QStringLiteral("O papel do administrador no servidor."),
                                                 QStringLiteral("NOME"));
    const QCommandLineOption pupilsOption(QStringLiteral("alunos"), QStringLiteral("O papel dos alunos no servidor."),
                                          QStringLiteral("NOME"));
    const QCommandLineOption pupilsPasswordOption(QStringLiteral("senha-alunos"),
                                                  QStringLiteral("A senha do papel dos alunos."), QStringLiteral("SENHA"));
    parser.addOption(passwordOption);
    parser.addOption(serverOption);
    parser.addOption(copyOption);
    parser.addOption(administratorOption);
    parser.addOption(pupilsOption);
    parser.addOption(pupilsPasswordOption);
    parser.addOption(replaceOption);
    parser.addOption(sourceOption);
    parser.addOption(importOption);
    parser.addOption(updateOption);
    parser.addOption(exportOption);
    const QCommandLineOption bankInUseOption(QStringLiteral("banco-em-uso"),
                                             QStringLiteral("Diz qual banco de perguntas o jogo usa nesta máquina."));
    parser.addOption(bankInUseOption);
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    parser.addPositionalArgument(QStringLiteral("PASTA_DE_DADOS"),
                                 QStringLiteral("Pasta a criar (padrão: %1).").arg(dataDirectory()));

    const QString usage = QStringLiteral("Uso: jornada-dados [--substituir] [--origem PASTA] [PASTA_DE_DADOS]\n"
                                         "     jornada-dados --importar ARQUIVO.csv|.xlsx|.ods [PASTA_DE_DADOS]\n"
                                         "     jornada-dados --atualizar ARQUIVO.csv|.xlsx|.ods [PASTA_DE_DADOS]\n"
                                         "     jornada-dados --exportar ARQUIVO.csv|ARQUIVO.xlsx [PASTA_DE_DADOS]\n"
                                         "     jornada-dados --senha [PASTA_DE_DADOS]\n"
                                         "     jornada-dados --servidor CONEXÃO [--administrador NOME] [--alunos NOME] "
                                         "[--senha-alunos SENHA]\n"
                                         "     jornada-dados --copiar [PASTA_DE_DADOS] [--servidor CONEXÃO] [--alunos NOME] "
                                         "[--senha-alunos SENHA]\n"
                                         "     jornada-dados --help | --version\n"
                                         "(--importar, --atualizar, --exportar e --senha também aceitam --servidor CONEXÃO\n"
                                         "no lugar da pasta.)");
    if (!parser.parse(app.arguments())) {
        const QStringList unknown = parser.unknownOptionNames();
        complain(unknown.isEmpty() ? parser.errorText()
                                   : QStringLiteral("opção desconhecida: %1").arg(unknown.first()));
        complain(usage);
        return 1;
    }
    if (parser.isSet(helpOption)) {
        say(usage);
        say(QStringLiteral("Cria a pasta de dados do jogo com o banco de perguntas de exemplo e a conta "
                           "do administrador (login \"%1\", senha \"%2\").")
                .arg(QString::fromLatin1(defaultAdminLogin), QString::fromLatin1(defaultAdminPassword)));
        say(QStringLiteral("O recorde (Recorde.txt) nunca é alterado."));
        say(QString());
        say(QStringLiteral("  --substituir        Substitui as tabelas que já existirem na pasta."));
        say(QStringLiteral("  --origem PASTA      Pasta com perguntas.tsv e fotos/ (padrão: %1).").arg(source));
        say(QStringLiteral("  --importar ARQUIVO  Acrescenta a um banco que já existe as perguntas novas de um arquivo\n"
                           "                      CSV ou de uma planilha (.xlsx, .ods), numeradas depois da maior. Uma\n"
                           "                      pergunta que o banco já tem (sem diferença de maiúsculas e acentos) é\n"
                           "                      pulada. Num servidor, as fotos entram no banco, e a conexão precisa\n"
                           "                      ser do administrador (--servidor \"... user=Adm\")."));
        say(QStringLiteral("  --atualizar ARQUIVO Atualiza o banco a partir de um arquivo com a coluna Id, como o\n"
                           "                      que --exportar grava: a linha cujo Id é o número de uma pergunta a\n"
                           "                      substitui; as outras são acrescentadas, como em --importar."));
        say(QStringLiteral("  --exportar ARQUIVO  Grava o banco inteiro, em ordem de número, num arquivo CSV (.csv) ou\n"
                           "                      numa planilha do Excel (.xlsx), com as fotos na pasta fotos/ ao lado."));
        say(QStringLiteral("  --senha             Troca a senha do administrador de um banco que já existe, sem tocar\n"
                           "                      nas perguntas nem no recorde (para quem esqueceu a senha). Num\n"
                           "                      servidor, a do papel do administrador, por uma conexão de quem cuida\n"
                           "                      do servidor (ou do próprio administrador).\n"
                           "                      A nova senha, de 1 a 7 caracteres, é digitada duas vezes sem\n"
                           "                      aparecer, ou lida de uma linha da entrada padrão."));
        say(QStringLiteral("  --servidor CONEXÃO  Usa o banco de um servidor PostgreSQL, em vez de uma pasta. CONEXÃO é\n"
                           "                      uma cadeia de conexão do libpq (\"host=lab dbname=jornada user=ti\",\n"
                           "                      \"service=jornada\", postgresql://...; a senha pode vir de ~/.pgpass ou\n"
                           "                      de PGPASSWORD). Sozinha, cria nesse banco de dados, numa transação\n"
                           "                      só, o banco de perguntas de exemplo com as fotos, o lugar do recorde\n"
                           "                      e dois papéis (roles): o do administrador, cujo nome e senha são o\n"
                           "                      \"Usuário\" e a \"Senha\" da tela de senha do jogo (senha inicial\n"
                           "                      \"%1\"), e o dos alunos, com que as máquinas do laboratório se\n"
                           "                      conectam: ele só lê as perguntas e as fotos e registra o recorde\n"
                           "                      (de %2 a %3 pontos, nunca abaixo do que está lá). O banco de dados\n"
                           "                      passa a aceitar só esses dois papéis, além do dono e dos\n"
                           "                      superusuários. A conexão precisa de um papel que crie papéis e\n"
                           "                      esquemas (o dono do banco de dados com CREATEROLE, ou o postgres).\n"
                           "                      Um servidor que já tenha o banco de perguntas, ou um dos papéis,\n"
                           "                      fica como está (--substituir não vale para servidores).")
                .arg(QString::fromLatin1(defaultAdminPassword))
                .arg(RecordLimits::lowest)
                .arg(RecordLimits::highest));
        say(QStringLiteral("  --administrador NOME O papel do administrador (padrão: \"%1\").")
                .arg(QString::fromLatin1(defaultAdminLogin)));
        say(QStringLiteral("  --alunos NOME       O papel dos alunos (padrão: \"%1\").").arg(QString::fromLatin1(defaultPupilsRole)));
        say(QStringLiteral("  --senha-alunos SENHA A senha do papel dos alunos (padrão: \"%1\"). Ela fica na\n"
                           "                      configuração de cada máquina do laboratório, que os alunos podem ler:\n"
                           "                      protege o banco de quem está fora do laboratório.")
                .arg(QString::fromLatin1(defaultPupilsPassword)));
        say(QStringLiteral("  --copiar            Copia o banco de PASTA_DE_DADOS (padrão: %1)\n"
                           "                      para o servidor de --servidor (ou o da configuração desta máquina):\n"
                           "                      as perguntas, as fotos para dentro do banco, o recorde e a conta do\n"
                           "                      administrador, que vira o papel de mesmo login e senha. A pasta não\n"
                           "                      é alterada. Tudo ou nada: uma foto que não possa ir (que falte, por\n"
                           "                      exemplo) impede a cópia, e cada uma é listada.")
                .arg(dataDirectory()));
        say(QStringLiteral("  --banco-em-uso      Diz qual banco o jogo usa nesta máquina, numa linha: \"pasta CAMINHO\"\n"
                           "                      ou \"servidor PostgreSQL CONEXÃO\" (sem a senha)."));
        say(QStringLiteral("  -h, --help          Mostra esta ajuda."));
        say(QStringLiteral("  -v, --version       Mostra a versão."));
        say(QStringLiteral("  PASTA_DE_DADOS      Pasta a criar (padrão: %1), ou de onde importar e exportar\n"
                           "                      (padrão: o banco que o jogo usa nesta máquina).")
                .arg(dataDirectory()));
        say(QString());
        say(QStringLiteral("Banco de perguntas que o jogo usa nesta máquina: %1.\n"
                           "(A chave servidor do grupo [banco] de jornada/jornada.conf, em /etc/xdg ou em ~/.config,\n"
                           "escolhe um servidor PostgreSQL; sem ela, a pasta de dados.)")
                .arg(openBank(bankInUse())->description()));
        say(QString());
        say(QStringLiteral(
            "O arquivo tem na primeira linha o cabeçalho com as colunas Pergunta, Resp1, Resp2, Resp3, Resp4,\n"
            "Correta e Foto (e Id, para --atualizar), em qualquer ordem, com letras maiúsculas ou minúsculas;\n"
            "outras colunas são ignoradas. Depois, uma pergunta por linha. Correta é o texto da resposta certa,\n"
            "ou o número (1 a 4) ou a letra (A a D) dela. Foto é o caminho da foto, a partir da pasta do arquivo\n"
            "ou completo; a foto é copiada para a pasta fotos/ da pasta de dados. Uma planilha .xlsx ou .ods é\n"
            "lida da primeira folha. Um CSV pode estar em UTF-8 (com ou sem BOM) ou Windows-1252, com campos\n"
            "separados por ponto e vírgula ou por vírgula, entre aspas ou não.\n"
            "\n"
            "O quadro da foto, no jogo e no editor, mostra a foto em tamanho real, centrada: 137 x 177 pixels do\n"
            "meio dela. Uma foto maior que o dobro disso em alguma direção é guardada como uma cópia reduzida\n"
            "para caber no quadro (NOME-ajustada.jpg, em fotos/); o arquivo original não é alterado. Fotos\n"
            "JPEG, PNG, GIF, BMP, ICO, EMF e WMF são aceitas.\n"
            "\n"
            "A importação é tudo ou nada: cada pergunta passa pela mesma conferência do editor (nenhum campo\n"
            "em branco, a resposta certa igual a uma das quatro, textos de até 240 caracteres do Windows-1252,\n"
            "uma foto que existe, abre e tem até 32 MB). Se alguma falhar, nada é gravado e cada problema é\n"
            "listado como \"linha N: ...\", em que N é a linha do arquivo onde a pergunta começa;\n"
            "o cabeçalho é a linha 1 (passados 300 problemas, os outros só são contados). Um texto que não\n"
            "cabe inteiro na tela de perguntas só gera um aviso. Uma linha cuja pergunta o banco já tem, ou\n"
            "uma linha anterior já tem, não é acrescentada de novo, e é listada. Uma importação interrompida é\n"
            "desfeita na próxima vez que o jornada-dados usar a mesma pasta: as fotos que ela copiou e que\n"
            "nenhuma pergunta usa são apagadas.\n"
            "\n"
            "A exportação grava a coluna Id com o número de cada pergunta e copia as fotos para a pasta fotos/\n"
            "ao lado do arquivo, que as nomeia como fotos/NOME; a pasta pode ir junto para outro computador.\n"
            "O arquivo .csv sai em UTF-8 com BOM, com ponto e vírgula e cada texto entre aspas; o .xlsx tem\n"
            "todas as células como texto. Um arquivo que já exista com esse nome é substituído por inteiro, só\n"
            "depois de o novo estar completo. No .csv, um texto que começa com =, +, -, @, tabulação ou\n"
            "apóstrofo ganha um apóstrofo na frente, para que a planilha não o execute como fórmula; a\n"
            "importação de um .csv tira um apóstrofo do começo de cada campo.\n"
            "\n"
            "Para editar o banco numa planilha sem que ela mude nada, prefira o .xlsx: abra-o, edite e salve\n"
            "no mesmo formato (ou como .ods). Se usar o .csv no LibreOffice Calc, na janela \"Importação de\n"
            "texto\" escolha \"Unicode (UTF-8)\", o separador \"Ponto-e-vírgula\" e marque \"Formatar campos\n"
            "entre aspas como texto\"; ao salvar, escolha \"Utilizar o formato Texto CSV!\" e, nas opções do\n"
            "filtro, o delimitador de campo ;, o delimitador do texto \" e \"Aspas em todas as células de\n"
            "texto\". No Excel, abra o .csv por \"Dados > Obter Dados > De Texto/CSV\" e defina as colunas\n"
            "como \"Texto\", ou use o .xlsx.\n"
            "\n"
            "Exemplo:\n"
            "  jornada-dados --exportar perguntas.csv      (abra e edite na planilha)\n"
            "  jornada-dados --atualizar perguntas.csv\n"
            "  jornada-dados --importar novas.csv\n"
            "com novas.csv assim:\n"
            "  Pergunta;Resp1;Resp2;Resp3;Resp4;Correta;Foto\n"
            "  Qual é a capital do Brasil?;Rio de Janeiro;Brasília;Salvador;São Paulo;B;fotos/brasilia.jpg"));
        return 0;
    }
    if (parser.isSet(bankInUseOption)) {
        say(openBank(bankInUse())->description());
        return 0;
    }
    if (parser.isSet(versionOption)) {
        say(QStringLiteral("jornada-dados %1").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        complain(QStringLiteral("só uma pasta de dados pode ser dada"));
        complain(usage);
        return 1;
    }

    const bool importing = parser.isSet(importOption), updating = parser.isSet(updateOption),
               exporting = parser.isSet(exportOption), settingPassword = parser.isSet(passwordOption),
               copying = parser.isSet(copyOption), serverGiven = parser.isSet(serverOption);
    const int commands = int(importing) + int(updating) + int(exporting) + int(settingPassword) + int(copying);
    const auto refuse = [&](const QString &why) {
        complain(why);
        complain(usage);
        return 1;
    };
    if (commands > 1 || (commands == 1 && (parser.isSet(replaceOption) || parser.isSet(sourceOption))))
        return refuse(QStringLiteral("--importar, --atualizar, --exportar, --senha e --copiar não se combinam entre si "
                                     "nem com --substituir ou --origem"));
    // A server is prepared with its roles, by --servidor alone or by --copiar.
    const bool preparingServer = (commands == 0 && serverGiven) || copying;
    if (!preparingServer
        && (parser.isSet(administratorOption) || parser.isSet(pupilsOption) || parser.isSet(pupilsPasswordOption)))
        return refuse(QStringLiteral("--administrador, --alunos e --senha-alunos só valem ao preparar um servidor "
                                     "(--servidor sozinha, ou --copiar)"));
    if (copying && parser.isSet(administratorOption))
        return refuse(QStringLiteral("--copiar leva a conta do administrador da pasta: o papel tem o login dela"));
    if (serverGiven && parser.isSet(replaceOption))
        return refuse(QStringLiteral("--substituir não vale para um servidor: o banco de perguntas que está lá fica "
                                     "como está. Para recomeçar, apague antes o banco de dados (DROP DATABASE) e os "
                                     "dois papéis (DROP ROLE)"));
    if (serverGiven && !copying && !positional.isEmpty())
        return refuse(QStringLiteral("dê uma pasta de dados ou --servidor, não os dois"));

    try {
        if (preparingServer) {
            const QString connection = serverGiven ? parser.value(serverOption) : serverInUse();
            if (connection.isEmpty())
                throw AppError(QStringLiteral("--copiar leva o banco de uma pasta para um servidor, e esta máquina não "
                                              "usa um: diga qual com --servidor CONEXÃO"));
            const bool usualPupilsPassword = !parser.isSet(pupilsPasswordOption);
            const ServerRoles roles{parser.isSet(administratorOption) ? parser.value(administratorOption)
                                                                      : QString::fromLatin1(defaultAdminLogin),
                                    QString::fromLatin1(defaultAdminPassword),
                                    parser.isSet(pupilsOption) ? parser.value(pupilsOption)
                                                               : QString::fromLatin1(defaultPupilsRole),
                                    usualPupilsPassword ? QString::fromLatin1(defaultPupilsPassword)
                                                        : parser.value(pupilsPasswordOption)};
            if (copying) {
                const QString folder = positional.isEmpty() ? dataDirectory() : positional.first();
                sayCopied(folder, connection, copyFolderToServer(folder, connection, roles.pupils, roles.pupilsPassword),
                          usualPupilsPassword);
            } else {
                sayServerDone(connection,
                              buildServerBank(connection, parser.isSet(sourceOption) ? parser.value(sourceOption) : source,
                                              roles),
                              usualPupilsPassword);
            }
            return 0;
        }
        if (commands == 0) {
            const QString folder = positional.isEmpty() ? dataDirectory() : positional.first();
            sayDone(buildDataDirectory(folder, parser.isSet(sourceOption) ? parser.value(sourceOption) : source,
                                       parser.isSet(replaceOption)));
            return 0;
        }

        // The other commands work on the bank the game uses, unless told which.
        const std::shared_ptr<Bank> bank = openBank(serverGiven            ? BankLocation::server(parser.value(serverOption))
                                                    : !positional.isEmpty() ? BankLocation::folder(positional.first())
                                                                            : bankInUse());
        // What an import killed midway left in a folder is undone first, whatever is asked.
        if (const QString finished = bank->finishInterruptedImports(); !finished.isEmpty())
            say(finished);
        if (settingPassword) {
            const QString login = bank->setAdminPassword(readNewPassword());
            say(QStringLiteral("Senha do administrador (login \"%1\") alterada %2.").arg(login, bank->accountPlace()));
            say(QStringLiteral("As perguntas e o recorde não foram alterados."));
            return 0;
        }
        if (importing || updating) {
            const QString csvPath = parser.value(importing ? importOption : updateOption);
            sayImported(csvPath, importQuestions(csvPath, *bank, importing ? ImportMode::Add : ImportMode::Update,
                                                 checkPhoto, QuestionFit::warnings, fitPhoto));
            return 0;
        }
        const QString path = parser.value(exportOption);
        sayExported(*bank, path, exportQuestions(*bank, path));
        return 0;
    } catch (const ImportRefused &refused) {
        complain(refused.text() + QLatin1Char(':'));
        for (const QString &problem : refused.problems())
            std::fputs((problem + QLatin1Char('\n')).toUtf8().constData(), stderr);
    } catch (const CopyRefused &refused) {
        complain(refused.text() + QLatin1Char(':'));
        for (const QString &problem : refused.problems())
            std::fputs((problem + QLatin1Char('\n')).toUtf8().constData(), stderr);
    } catch (const AppError &error) {
        complain(error.text());
        if (isNoPermission(error))
            complain(QStringLiteral("A conexão com o servidor é de um papel que não pode fazer isso (numa máquina do "
                                    "laboratório, o dos alunos). Dê uma conexão do administrador, ou de quem cuida do "
                                    "servidor, com --servidor, por exemplo: --servidor \"%1\" (a senha vem de "
                                    "~/.pgpass, de PGPASSWORD ou de password=...)")
                         .arg(printableConnection(connectionAs(
                             serverGiven ? parser.value(serverOption) : serverInUse(),
                             QString::fromLatin1(defaultAdminLogin), QString()))));
    } catch (const std::exception &error) {
        // Not one of the program's own errors (memory ran out, and the like): the library's words
        // are all there is to tell, so they go in parentheses after a Portuguese lead.
        complain(QStringLiteral("erro inesperado (%1)").arg(QString::fromLocal8Bit(error.what())));
    }
    return 1;
}
