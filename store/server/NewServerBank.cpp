#include "store/server/NewServerBank.h"

#include "store/core/AppError.h"
#include "store/server/Conninfo.h"
#include "store/bank/PhotoPlan.h"
#include "store/bank/QuestionCheck.h"
#include "store/server/ServerSetup.h"
#include "store/bank/QuestionSource.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cmath>

QString PhotoNames::nameOf(const QString &file)
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

ServerBankReport makeServerBank(const QString &connection, const ServerBankContents &contents)
{
    createServerBank(connection, contents);
    ServerBankReport report;
    report.server = serverDescription(connection);
    report.questions = int(contents.questions.size());
    report.photos = int(contents.photos.size());
    report.record = contents.record;
    report.roles = {contents.roles.administrator, QString(), contents.roles.pupils, QString()};
    return report;
}

ServerBankReport buildServerBank(const QString &connection, const QString &source, const ServerRoles &roles)
{
    checkRoles(roles);
    const QDir sourceDir(source);
    ServerBankContents contents;
    contents.roles = roles;
    contents.questions = readQuestionSource(sourceDir.filePath(QStringLiteral("perguntas.tsv")));
    PhotoNames names;
    for (Question &row : contents.questions) {
        const QString file = sourceDir.filePath(QStringLiteral("fotos/") + row.foto);
        if (const QString problem = photoFileProblem(file); !problem.isEmpty())
            throw AppError(QStringLiteral("pergunta %1: %2").arg(row.id).arg(problem));
        row.foto = names.nameOf(file);
    }
    contents.photos = names.photos();
    return makeServerBank(connection, contents);
}
