// jornada-dados: creates the game's data directory with the sample question bank.
//
//   jornada-dados [--substituir] [--origem PASTA] [PASTA_DE_DADOS]
//   jornada-dados --help | --version
//
// Creates PASTA_DE_DADOS (by default the game's own data directory) with Perguntas.DB, filled
// from <origem>/perguntas.tsv (by default the installed sample bank, or the source tree's when the
// program runs from its build folder), and inicial.db with the administrator account Adm / 1234, and
// copies the photos that the questions use from <origem>/fotos into PASTA_DE_DADOS/fotos. The
// record file Recorde.txt is never touched. Existing tables are replaced only with --substituir.
#include "store/AppError.h"
#include "store/DataDir.h"
#include "store/Setup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(JORNADA_VERSION));
    const QString source = defaultSource();

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
    parser.addOption(replaceOption);
    parser.addOption(sourceOption);
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    parser.addPositionalArgument(QStringLiteral("PASTA_DE_DADOS"),
                                 QStringLiteral("Pasta a criar (padrão: %1).").arg(dataDirectory()));

    const QString usage = QStringLiteral("Uso: jornada-dados [--substituir] [--origem PASTA] [PASTA_DE_DADOS]\n"
                                         "     jornada-dados --help | --version");
    if (!parser.parse(app.arguments())) {
        const QStringList unknown = parser.unknownOptionNames();
        complain(unknown.isEmpty() ? QStringLiteral("falta o valor da opção --origem")
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
        say(QStringLiteral("  --substituir     Substitui as tabelas que já existirem na pasta."));
        say(QStringLiteral("  --origem PASTA   Pasta com perguntas.tsv e fotos/ (padrão: %1).").arg(source));
        say(QStringLiteral("  -h, --help       Mostra esta ajuda."));
        say(QStringLiteral("  -v, --version    Mostra a versão."));
        say(QStringLiteral("  PASTA_DE_DADOS   Pasta a criar (padrão: %1).").arg(dataDirectory()));
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

    const QString folder = positional.isEmpty() ? dataDirectory() : positional.first();
    try {
        sayDone(buildDataDirectory(folder, parser.isSet(sourceOption) ? parser.value(sourceOption) : source,
                                   parser.isSet(replaceOption)));
        return 0;
    } catch (const AppError &error) {
        complain(error.text());
    } catch (const std::exception &error) {
        complain(QString::fromLocal8Bit(error.what()));
    }
    return 1;
}
