#pragma once
// The administrator's account of a data folder: the record on which a cursor on the account
// table inicial.db stands when it is opened. The cursor stays open, on that record, for the life
// of the account, so that every login and every change reads and writes the same record: a
// posted change takes effect at once for the next login and the next change. A table with no
// record reads as an empty login and an empty password, and a change then adds the record.
#include "store/bank/AdminAccount.h"
#include "store/tables/Table.h"

class FolderAccount final : public AdminAccount {
public:
    // Opens the account table of the folder of `bank`. Throws AppError when it cannot. A login
    // hands the same bank on: the administrator reaches the folder as anyone does.
    explicit FolderAccount(std::shared_ptr<Bank> bank);

    std::shared_ptr<Bank> logIn(const QString &login, const QString &password) override;
    Change changePassword(const QString &current, const QString &replacement) override;

private:
    std::shared_ptr<Bank> m_bank;
    Table m_account;
};
