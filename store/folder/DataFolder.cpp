#include "store/folder/DataFolder.h"

#include "store/bank/AdminAccount.h"
#include "store/bank/QuestionSource.h"
#include "store/core/AppError.h"
#include "store/core/Win1252.h"
#include "store/folder/FolderSetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>

namespace {

const QStringList &tableFiles()
{
    static const QStringList names = {QStringLiteral("Perguntas.DB"), QStringLiteral("inicial.db")};
    return names;
}

std::filesystem::path fsPath(const QString &path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

// The files of `directory` that the game would take for the table `name`: table names match
// without regard to case.
QStringList existingTableFiles(const QString &directory, const QString &name)
{
    QStringList found;
    const QStringList entries = QDir(directory).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            found.append(QDir(directory).filePath(entry));
    return found;
}

} // namespace

DataDirectoryReport buildDataDirectory(const QString &folder, const QString &source, bool replace)
{
    DataDirectoryReport report;
    report.folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    report.photoFolder = QDir(report.folder).filePath(QStringLiteral("fotos"));
    const QDir sourceDir(source);

    // Everything is checked before anything is written.
    QList<Question> rows = readQuestionSource(sourceDir.filePath(QStringLiteral("perguntas.tsv")));
    QStringList photos;
    for (Question &row : rows) {
        const QString original = sourceDir.filePath(QStringLiteral("fotos/") + row.foto);
        if (!QFileInfo(original).isFile())
            throw AppError(QStringLiteral("a foto da pergunta %1 não existe: %2").arg(row.id).arg(original));
        const QString copy = QDir(report.photoFolder).filePath(row.foto);
        const FieldDef &field = questionField(QuestionColumn::Foto);
        if (copy.size() > field.size || !fitsWin1252(copy))
            throw AppError(QStringLiteral("o caminho %1 não cabe no campo %2 (até %3 caracteres do "
                                          "Windows-1252); escolha uma pasta de dados de caminho mais curto")
                               .arg(copy, field.name, QString::number(field.size)));
        if (!photos.contains(row.foto))
            photos.append(row.foto);
        row.foto = copy;
    }

    QStringList existing;
    for (const QString &table : tableFiles())
        existing += existingTableFiles(report.folder, table);
    if (!existing.isEmpty() && !replace)
        throw AppError(QStringLiteral("a pasta %1 já tem tabelas (%2); nada foi alterado. Use --substituir "
                                      "para trocá-las pelas do banco de exemplo.")
                           .arg(report.folder, existing.join(QStringLiteral(", "))));
    report.replaced = !existing.isEmpty();

    if (!QDir().mkpath(report.photoFolder))
        throw AppError(QStringLiteral("não foi possível criar a pasta %1").arg(report.photoFolder));

    // The new tables are built beside the old ones and moved over them only when complete.
    QTemporaryDir staging(QDir(report.folder).filePath(QStringLiteral(".jornada-dados-XXXXXX")));
    if (!staging.isValid())
        throw AppError(QStringLiteral("não foi possível criar uma pasta temporária em %1: %2")
                           .arg(report.folder, staging.errorString()));
    createQuestionTable(staging.path());
    createAccountTable(staging.path(), QString::fromLatin1(defaultAdminLogin),
                       QString::fromLatin1(defaultAdminPassword));
    insertQuestions(staging.path(), rows);

    for (const QString &photo : std::as_const(photos)) {
        std::error_code error;
        std::filesystem::copy_file(fsPath(sourceDir.filePath(QStringLiteral("fotos/") + photo)),
                                   fsPath(QDir(report.photoFolder).filePath(photo)),
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error)
            throw AppError(QStringLiteral("não foi possível copiar a foto %1: %2")
                               .arg(photo, QString::fromLocal8Bit(error.message())));
    }

    for (const QString &table : tableFiles()) {
        const QString target = QDir(report.folder).filePath(table);
        // A journal left beside an old table would be played back into the new one.
        for (const QString &old : existingTableFiles(report.folder, table)) {
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
                               .arg(target, QString::fromLocal8Bit(error.message())));
    }

    report.questions = int(rows.size());
    report.photos = int(photos.size());
    return report;
}
