#include "store/AdminAccount.h"

#include "store/FolderAccount.h"
#include "store/ServerAccount.h"

std::unique_ptr<AdminAccount> openAdminAccount(const BankLocation &where)
{
    if (where.isServer())
        return std::make_unique<ServerAccount>(where.connection());
    return std::make_unique<FolderAccount>(where.folderPath());
}
