#include "store/tables/Engine.h"

#include <QFileInfo>

QString tableSchemaName(const QString &fileName) { return QFileInfo(fileName).completeBaseName().toLower(); }
