#include "store/kinds/OpenBank.h"

#include "store/folder/FolderBank.h"
#include "store/server/ServerBank.h"

std::shared_ptr<Bank> openBank(const BankLocation &where)
{
    // No default: a new kind of bank fails to compile here (-Werror=switch) until it has a backend.
    switch (where.kind()) {
    case BankLocation::Kind::Folder:
        return std::make_shared<FolderBank>(where.text());
    case BankLocation::Kind::Server:
        return std::make_shared<ServerBank>(where.text());
    }
    return nullptr; // not reached: every kind returns above
}
