#include "store/bank/AdminAccount.h"

#include "store/folder/FolderAccount.h"
#include "store/server/ServerAccount.h"

std::unique_ptr<AdminAccount> openAdminAccount(const BankLocation &where)
{
    if (where.isServer())
        return std::make_unique<ServerAccount>(where.connection());
    return std::make_unique<FolderAccount>(where.folderPath());
}
