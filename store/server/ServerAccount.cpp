#include "store/server/ServerAccount.h"

#include "store/core/AppError.h"
#include "store/server/Conninfo.h"
#include "store/tables/Fields.h"
#include "store/server/Libpq.h"
#include "store/server/ServerBank.h"
#include "store/server/ServerEngine.h"
#include "store/server/ServerRoles.h"

#include <libpq-fe.h>

namespace {

// A connection by the connection string `as`, which names a role and its password; null when
// the server refused that password. Throws AppError when the server cannot be reached, and when
// it let the role in without asking for the password, which then checks nothing.
PgConnection connectWithPassword(const QString &as)
{
    PgConnection attempt = attemptConnection(as);
    // libpq tells whether the server asked for the password; a server that could not be reached
    // never did.
    const bool passwordAsked = PQconnectionUsedPassword(attempt.get());
    if (PQstatus(attempt.get()) != CONNECTION_OK) {
        if (passwordAsked)
            return nullptr;
        throw AppError(connectionFailureText(as, attempt.get()));
    }
    if (!passwordAsked)
        throw AppError(QStringLiteral("O %1 deixou entrar sem pedir a senha, e por isso não pode conferir a do "
                                      "administrador. Quem cuida do servidor deve exigir senha desta máquina no "
                                      "pg_hba.conf (método scram-sha-256).")
                           .arg(serverDescription(as)));
    setUpSession(attempt.get());
    return attempt;
}

} // namespace

ServerAccount::ServerAccount(const QString &connection) : m_connection(connection) {}

QString ServerAccount::administrator()
{
    const std::shared_ptr<ServerEngine> server = ServerEngine::forConnection(m_connection);
    const PgResult found = server->execute(QStringLiteral("SELECT inicial.administrador()"));
    if (PQntuples(found.get()) != 1 || PQgetisnull(found.get(), 0, 0))
        throw AppError(QStringLiteral("O banco de perguntas do servidor não diz qual é o papel do administrador "
                                      "(a tabela inicial.db está vazia)"));
    return QString::fromUtf8(PQgetvalue(found.get(), 0, 0));
}

std::shared_ptr<Bank> ServerAccount::logIn(const QString &login, const QString &password)
{
    if (password.isEmpty() || login != administrator())
        return nullptr;
    const QString as = connectionAs(m_connection, login, password);
    if (!connectWithPassword(as))
        return nullptr;
    return std::make_shared<ServerBank>(as);
}

AdminAccount::Change ServerAccount::changePassword(const QString &current, const QString &replacement)
{
    if (current.isEmpty())
        return Change::WrongPassword;
    const QString role = administrator();
    const PgConnection server = connectWithPassword(connectionAs(m_connection, role, current));
    if (!server)
        return Change::WrongPassword;
    if (replacement.isEmpty())
        throw AppError(QStringLiteral("No servidor, a senha do administrador não pode ficar vazia: o servidor não "
                                      "deixa entrar sem senha. A senha não foi alterada."));
    checkAccountText(replacement, accountFields()[1]);
    setRolePassword(server.get(), role, replacement);
    return Change::Changed;
}
