#include "store/server/ServerBank.h"

#include "store/core/AppError.h"
#include "store/core/BankLocation.h"
#include "store/tables/Fields.h"
#include "store/bank/PhotoPlan.h"
#include "store/bank/QuestionCheck.h"
#include "store/folder/RecordFile.h"
#include "store/server/ServerSetup.h"
#include "store/folder/Setup.h"
#include "store/tables/Table.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cmath>

namespace {

// The names photos are stored under in one new bank: a file's own name while it is free, else
// "name-2.ext", "name-3.ext", ...; the same file always under the one name.
class PhotoNames {
public:
    QString nameOf(const QString &file)
    {
        const QString key = QFileInfo(file).canonicalFilePath();
        if (const auto known = m_byFile.constFind(key); known != m_byFile.cend())
            return *known;
        QString name = QFileInfo(file).fileName();
        for (int n = 2; m_taken.contains(name); ++n)
            name = numberedPhotoName(QFileInfo(file).fileName(), n);
        m_taken.insert(name);
        m_byFile.insert(key, name);
        m_photos.append({name, file});
        return name;
    }
    const QList<ServerPhotoFile> &photos() const { return m_photos; }

private:
    QHash<QString, QString> m_byFile; // canonical path -> name
    QSet<QString> m_taken;
    QList<ServerPhotoFile> m_photos;
};

// Why the file `path` cannot go into a bank as a photo; empty when it can.
QString photoFileProblem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("a foto não existe: %1").arg(path);
    if (!info.isFile())
        return QStringLiteral("a foto não é um arquivo: %1").arg(path);
    if (!info.isReadable())
        return QStringLiteral("não há permissão para ler a foto: %1").arg(path);
    if (const QString tooLarge = photoSizeProblem(info.size()); !tooLarge.isEmpty())
        return QStringLiteral("%1: %2").arg(tooLarge, path);
    return QString();
}

ServerBankReport made(const QString &connection, const ServerBankContents &contents)
{
    createServerBank(connection, contents);
    ServerBankReport report;
    report.server = BankLocation::server(connection).description();
    report.questions = int(contents.questions.size());
    report.photos = int(contents.photos.size());
    report.record = contents.record;
    report.roles = {contents.roles.administrator, QString(), contents.roles.pupils, QString()};
    return report;
}

QString questionName(double id)
{
    return std::isnan(id) ? QStringLiteral("sem número") : QString::number(qint64(id));
}

} // namespace

ServerBankReport buildServerBank(const QString &connection, const QString &source, const ServerRoles &roles)
{
    checkRoles(roles);
    const QDir sourceDir(source);
    ServerBankContents contents;
    contents.roles = roles;
    contents.questions = readQuestionSource(sourceDir.filePath(QStringLiteral("perguntas.tsv")));
    PhotoNames names;
    for (QuestionRow &row : contents.questions) {
        const QString file = sourceDir.filePath(QStringLiteral("fotos/") + row.foto);
        if (const QString problem = photoFileProblem(file); !problem.isEmpty())
            throw AppError(QStringLiteral("pergunta %1: %2").arg(row.id).arg(problem));
        row.foto = names.nameOf(file);
    }
    contents.photos = names.photos();
    return made(connection, contents);
}

ServerBankReport copyFolderToServer(const QString &folder, const QString &connection, const QString &pupils,
                                    const QString &pupilsPassword)
{
    const QString dataFolder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    questionBankTable(dataFolder);
    ServerBankContents contents;
    {
        // The account the login screen would read: the record the table opens on.
        Table account;
        account.open(BankLocation::folder(dataFolder), QStringLiteral("inicial.db"), accountFields());
        contents.roles = {account.fieldText(QStringLiteral("Login")), account.fieldText(QStringLiteral("Senha")), pupils,
                          pupilsPassword};
    }
    if (contents.roles.administratorPassword.isEmpty())
        throw AppError(QStringLiteral("a senha do administrador da pasta %1 está vazia, e um servidor não deixa entrar "
                                      "sem senha; troque-a antes com: jornada-dados --senha \"%1\"")
                           .arg(dataFolder));
    checkRoles(contents.roles);

    Record record;
    const QString recordFile = QDir(dataFolder).filePath(QStringLiteral("Recorde.txt"));
    try {
        if (ReadRecord(recordFile, record.name, record.points))
            contents.record = record;
    } catch (const AppError &error) {
        throw AppError(QStringLiteral("o recorde %1 não pôde ser lido (%2); nada foi copiado").arg(recordFile, error.text()));
    }

    contents.questions = readQuestionTable(dataFolder);
    PhotoNames names;
    QStringList problems;
    for (QuestionRow &row : contents.questions) {
        if (row.foto.isEmpty())
            continue;
        if (const QString problem = photoFileProblem(row.foto); !problem.isEmpty())
            problems << QStringLiteral("pergunta %1: %2").arg(questionName(row.id), problem);
        else
            row.foto = names.nameOf(row.foto);
    }
    if (!problems.isEmpty())
        throw CopyRefused(QStringLiteral("o banco da pasta %1 não foi copiado: estas fotos não podem ir para o servidor "
                                         "(corrija-as no editor e copie de novo)")
                              .arg(dataFolder),
                          problems);
    contents.photos = names.photos();
    return made(connection, contents);
}
