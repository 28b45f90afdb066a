#include "app/SetupCommand.h"

#include <QDir>
#include <QFileInfo>

QString setupCommand(const QString &gameFolder, const QString &searchPath)
{
    const QString name = QStringLiteral("jornada-dados");
    const QDir game(gameFolder);
    for (const QString &candidate : {game.filePath(name), game.filePath(QStringLiteral("tools/") + name)}) {
        const QFileInfo program(candidate);
        if (!program.isFile() || !program.isExecutable())
            continue;
        const QString folder = program.canonicalPath();
        for (const QString &entry : searchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts))
            if (QFileInfo(entry).canonicalFilePath() == folder)
                return name;
        return QDir::toNativeSeparators(program.absoluteFilePath());
    }
    return name;
}
