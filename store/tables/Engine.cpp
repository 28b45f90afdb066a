#include "store/tables/Engine.h"

#include "store/core/BankLocation.h"
#include "store/server/ServerEngine.h"
#include "store/folder/SqliteEngine.h"

#include <QFileInfo>

std::shared_ptr<Engine> Engine::of(const BankLocation &where)
{
    // A folder's engine is a light handle on the folder's shared connection; a server's is the
    // connection itself, shared by connection string.
    if (where.isServer())
        return ServerEngine::forConnection(where.connection());
    return std::make_shared<SqliteEngine>(where.folderPath());
}

QString tableSchemaName(const QString &fileName) { return QFileInfo(fileName).completeBaseName().toLower(); }
