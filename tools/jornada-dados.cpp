// jornada-dados: creates the game's data directory with the sample question bank.
//
//   jornada-dados [--substituir] [--origem PASTA] [PASTA_DE_DADOS]
//
// Creates PASTA_DE_DADOS (by default the game's own data directory) with Perguntas.DB, filled
// from <origem>/perguntas.tsv, and inicial.db with the administrator account Adm / 1234, and
// copies the photos that the questions use from <origem>/fotos into PASTA_DE_DADOS/fotos. The
// record file Recorde.txt is never touched. Existing tables are replaced only with --substituir.
#include "store/AppError.h"
#include "store/DataDir.h"
#include "store/Setup.h"
#include "store/Win1252.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>

namespace {

const QString adminLogin = QStringLiteral("Adm");
const QString adminPassword = QStringLiteral("1234");
const QStringList tableFiles = {QStringLiteral("Perguntas.DB"), QStringLiteral("inicial.db")};

void say(const QString &text) { std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stdout); }
void complain(const QString &text)
{
    std::fputs((QStringLiteral("jornada-dados: ") + text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

std::filesystem::path fsPath(const QString &path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

// The files of `directory` that the game would take for the table `name`: the names of tables
// match without regard to case.
QStringList existingTableFiles(const QString &directory, const QString &name)
{
    QStringList found;
    const QStringList entries = QDir(directory).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            found.append(QDir(directory).filePath(entry));
    return found;
}

struct Options {
    QString folder;
    QString source;
    bool replace = false;
};

int run(const Options &options)
{
    const QString folder = QDir::cleanPath(QFileInfo(options.folder).absoluteFilePath());
    const QDir source(options.source);
    const QString photoFolder = QDir(folder).filePath(QStringLiteral("fotos"));

    // Everything is checked before anything is written.
    QList<QuestionRow> rows = readQuestionSource(source.filePath(QStringLiteral("perguntas.tsv")));
    QStringList photos;
    for (QuestionRow &row : rows) {
        const QString original = source.filePath(QStringLiteral("fotos/") + row.foto);
        if (!QFileInfo(original).isFile())
            throw AppError(QStringLiteral("a foto da pergunta %1 não existe: %2").arg(row.id).arg(original));
        const QString copy = QDir(photoFolder).filePath(row.foto);
        if (copy.size() > 255 || !fitsWin1252(copy))
            throw AppError(QStringLiteral("o caminho %1 não cabe no campo Foto (até 255 caracteres do "
                                          "Windows-1252); escolha uma pasta de dados com caminho mais curto")
                               .arg(copy));
        if (!photos.contains(row.foto))
            photos.append(row.foto);
        row.foto = copy;
    }

    QStringList existing;
    for (const QString &table : tableFiles)
        existing += existingTableFiles(folder, table);
    if (!existing.isEmpty() && !options.replace) {
        complain(QStringLiteral("a pasta %1 já tem tabelas (%2); nada foi alterado. Use --substituir para "
                                "trocá-las pelas do banco de exemplo.")
                     .arg(folder, existing.join(QStringLiteral(", "))));
        return 1;
    }

    if (!QDir().mkpath(photoFolder))
        throw AppError(QStringLiteral("não foi possível criar a pasta %1").arg(photoFolder));

    // The new tables are built beside the old ones and moved over them only when complete.
    QTemporaryDir staging(QDir(folder).filePath(QStringLiteral(".jornada-dados-XXXXXX")));
    if (!staging.isValid())
        throw AppError(QStringLiteral("não foi possível criar uma pasta temporária em %1: %2")
                           .arg(folder, staging.errorString()));
    createQuestionTable(staging.path());
    createAccountTable(staging.path(), adminLogin, adminPassword);
    insertQuestions(staging.path(), rows);

    for (const QString &photo : std::as_const(photos)) {
        std::error_code error;
        std::filesystem::copy_file(fsPath(source.filePath(QStringLiteral("fotos/") + photo)),
                                   fsPath(QDir(photoFolder).filePath(photo)),
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error)
            throw AppError(QStringLiteral("não foi possível copiar a foto %1: %2")
                               .arg(photo, QString::fromStdString(error.message())));
    }

    for (const QString &table : tableFiles) {
        const QString target = QDir(folder).filePath(table);
        // A journal left by an old table would be played back into the new one.
        for (const QString &old : existingTableFiles(folder, table)) {
            QFile::remove(old + QStringLiteral("-journal"));
            QFile::remove(old + QStringLiteral("-wal"));
            QFile::remove(old + QStringLiteral("-shm"));
            if (old != target)
                QFile::remove(old);
        }
        std::error_code error;
        std::filesystem::rename(fsPath(QDir(staging.path()).filePath(table)), fsPath(target), error);
        if (error)
            throw AppError(QStringLiteral("não foi possível gravar %1: %2")
                               .arg(target, QString::fromStdString(error.message())));
    }

    say(QStringLiteral("Pasta de dados: %1").arg(folder));
    say(QStringLiteral("%1 Perguntas.DB com %2 perguntas.")
            .arg(existing.isEmpty() ? QStringLiteral("Criada a tabela") : QStringLiteral("Substituída a tabela"))
            .arg(rows.size()));
    say(QStringLiteral("Fotos copiadas para %1: %2.").arg(photoFolder).arg(photos.size()));
    say(QStringLiteral("%1 inicial.db com a conta do administrador: login \"%2\", senha \"%3\".")
            .arg(existing.isEmpty() ? QStringLiteral("Criada a tabela") : QStringLiteral("Substituída a tabela"),
                 adminLogin, adminPassword));
    say(QStringLiteral("O recorde (Recorde.txt) não foi alterado."));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);

    QCommandLineParser parser;
    const QCommandLineOption replaceOption(QStringLiteral("substituir"),
                                           QStringLiteral("Substitui as tabelas que já existirem na pasta."));
    const QCommandLineOption sourceOption(QStringLiteral("origem"),
                                          QStringLiteral("Pasta com perguntas.tsv e fotos/ (padrão: %1).")
                                              .arg(QStringLiteral(JORNADA_DATA_SOURCE)),
                                          QStringLiteral("PASTA"));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("ajuda")},
                                        QStringLiteral("Mostra esta ajuda."));
    parser.addOption(replaceOption);
    parser.addOption(sourceOption);
    parser.addOption(helpOption);
    parser.addPositionalArgument(QStringLiteral("PASTA_DE_DADOS"),
                                 QStringLiteral("Pasta a criar (padrão: %1).").arg(dataDirectory()));

    const QString usage = QStringLiteral("Uso: jornada-dados [--substituir] [--origem PASTA] [PASTA_DE_DADOS]");
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
                .arg(adminLogin, adminPassword));
        say(QStringLiteral("  --substituir     Substitui as tabelas que já existirem na pasta."));
        say(QStringLiteral("  --origem PASTA   Pasta com perguntas.tsv e fotos/ (padrão: %1).")
                .arg(QStringLiteral(JORNADA_DATA_SOURCE)));
        say(QStringLiteral("  PASTA_DE_DADOS   Pasta a criar (padrão: %1).").arg(dataDirectory()));
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        complain(QStringLiteral("só uma pasta de dados pode ser dada"));
        complain(usage);
        return 1;
    }

    Options options;
    options.folder = positional.isEmpty() ? dataDirectory() : positional.first();
    options.source = parser.isSet(sourceOption) ? parser.value(sourceOption) : QStringLiteral(JORNADA_DATA_SOURCE);
    options.replace = parser.isSet(replaceOption);
    try {
        return run(options);
    } catch (const AppError &error) {
        complain(error.text());
    } catch (const std::exception &error) {
        complain(QString::fromLocal8Bit(error.what()));
    }
    return 1;
}
