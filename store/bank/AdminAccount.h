#pragma once
// The administrator's account, as the login screen and the password change use it: a login and
// a password checked, and the password changed. Each engine keeps it its own way: a folder in
// the account table inicial.db (FolderAccount.h), a server as a role of the server
// (ServerAccount.h); the screens see only this.
#include "store/core/BankLocation.h"

#include <QString>

#include <memory>
#include <optional>

class AdminAccount {
public:
    virtual ~AdminAccount() = default;

    // When `login` and `password` are the administrator's (whole texts, case-sensitive, nothing
    // trimmed), the bank as the administrator reaches it, for the editor to read and write the
    // questions through; nothing when they are not. Throws AppError when the account cannot be
    // consulted (a server that cannot be reached), which is not a refusal.
    virtual std::optional<BankLocation> logIn(const QString &login, const QString &password) = 0;

    enum class Change { Changed, WrongPassword };
    // Replaces the password with `replacement` when `current` is the administrator's password;
    // WrongPassword, changing nothing, when it is not. Throws AppError when the new password
    // cannot be stored, leaving the stored one as it was.
    virtual Change changePassword(const QString &current, const QString &replacement) = 0;
};

// The administrator's account of the bank at `where`, opened as the login screen opens it when
// it is created. Throws AppError when a folder's account table cannot be opened.
std::unique_ptr<AdminAccount> openAdminAccount(const BankLocation &where);
