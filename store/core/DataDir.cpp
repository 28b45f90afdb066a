#include "store/core/DataDir.h"

#include <QDir>

QString dataDirectory()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\BDPerguntas");
#else
    return QDir::homePath() + QStringLiteral("/BDPerguntas");
#endif
}

QString dataFile(const QString &name)
{
    return QDir(dataDirectory()).filePath(name);
}
