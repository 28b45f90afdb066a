#include "app/SetupCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString setupCommand(const QString &gameFolder, const QString &searchPath)
{
    const QString name = QStringLiteral("jornada-dados");
    const QDir game(gameFolder);
    for (const QString &candidate : {game.filePath(name), game.filePath(QStringLiteral("tools/") + name)}) {
        const QFileInfo program(candidate);
        if (!program.isFile() || !program.isExecutable())
            continue;
        // The plain name serves only if it is this very program that it runs.
        const QString found =
            QStandardPaths::findExecutable(name, searchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts));
        if (!found.isEmpty() && QFileInfo(found).canonicalFilePath() == program.canonicalFilePath())
            return name;
        return QDir::toNativeSeparators(program.absoluteFilePath());
    }
    return name;
}
