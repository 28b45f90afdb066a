#pragma once
// The administrator's account of a bank on a server: a role of the server (ServerRoles.h), whose
// name the bank tells (inicial.administrador()) and whose password only the server knows. A
// login is checked by connecting as that role with the password typed, and the editor then reads
// and writes the questions through a connection as that role; the password change connects with
// the current password and changes the role's own. This machine keeps neither.
#include "store/bank/AdminAccount.h"

class ServerAccount final : public AdminAccount {
public:
    // The account of the bank that `connection` (the game's own, the pupils' role) reaches.
    // Nothing is asked of the server until a login or a change.
    explicit ServerAccount(const QString &connection);

    // An empty password is never the role's: libpq would take it for none given and look for one
    // on this machine (PGPASSWORD, ~/.pgpass). A server that lets the role in without asking for
    // its password cannot check a login, and says so (AppError).
    std::shared_ptr<Bank> logIn(const QString &login, const QString &password) override;
    // The server refuses an empty password for the same reason, and so does this (AppError).
    Change changePassword(const QString &current, const QString &replacement) override;

private:
    QString administrator();

    QString m_connection;
};
