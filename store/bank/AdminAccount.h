#pragma once
// The administrator's account, as the login screen and the password change use it: a login and
// a password checked, and the password changed. Each engine keeps it its own way: a folder in
// the account table inicial.db (FolderAccount.h), a server as a role of the server
// (ServerAccount.h); the screens see only this, from Bank::account().
#include <QString>

#include <memory>

class Bank;

// The administrator's account that a new bank gets unless told otherwise.
inline const char *const defaultAdminLogin = "Adm";
inline const char *const defaultAdminPassword = "1234";

class AdminAccount {
public:
    virtual ~AdminAccount() = default;

    // When `login` and `password` are the administrator's (whole texts, case-sensitive, nothing
    // trimmed), the bank as the administrator reaches it, for the editor to read and write the
    // questions through; nothing when they are not. Throws AppError when the account cannot be
    // consulted (a server that cannot be reached), which is not a refusal.
    virtual std::shared_ptr<Bank> logIn(const QString &login, const QString &password) = 0;

    enum class Change { Changed, WrongPassword };
    // Replaces the password with `replacement` when `current` is the administrator's password;
    // WrongPassword, changing nothing, when it is not. Throws AppError when the new password
    // cannot be stored, leaving the stored one as it was.
    virtual Change changePassword(const QString &current, const QString &replacement) = 0;
};
