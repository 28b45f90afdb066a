#include "store/Engine.h"

#include "store/BankLocation.h"
#include "store/ServerEngine.h"
#include "store/SqliteEngine.h"

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
