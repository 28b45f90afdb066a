#include "store/kinds/FolderToServer.h"

#include "store/folder/FolderBank.h"
#include "store/folder/FolderSetup.h"
#include "store/folder/RecordFile.h"
#include "store/tables/Fields.h"
#include "store/tables/Table.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {

QString questionName(double id)
{
    return std::isnan(id) ? QStringLiteral("sem número") : QString::number(qint64(id));
}

} // namespace

ServerBankReport copyFolderToServer(const QString &folder, const QString &connection, const QString &pupils,
                                    const QString &pupilsPassword)
{
    const QString dataFolder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    questionBankTable(dataFolder);
    ServerBankContents contents;
    {
        // The account the login screen would read: the record the table opens on.
        Table account;
        account.open(FolderBank(dataFolder), QStringLiteral("inicial.db"), accountFields());
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
    for (Question &row : contents.questions) {
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
    return makeServerBank(connection, contents);
}
