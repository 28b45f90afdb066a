#include "store/server/ServerRoles.h"

#include "store/core/AppError.h"
#include "store/tables/Fields.h"
#include "store/server/Libpq.h"

#include <libpq-fe.h>

namespace {

// The longest role name the server keeps whole (NAMEDATALEN - 1 bytes): a longer one it would
// cut, and the setting would name a role that is not there.
constexpr qsizetype longestRoleName = 63;

} // namespace

void checkRoles(const ServerRoles &roles)
{
    checkAccountText(roles.administrator, accountFields()[0]);
    checkAccountText(roles.administratorPassword, accountFields()[1]);
    if (roles.pupils.isEmpty() || roles.pupils.toUtf8().size() > longestRoleName)
        throw AppError(QStringLiteral("Nome do papel dos alunos inválido: deve ter de 1 a %1 bytes").arg(longestRoleName));
    if (roles.pupilsPassword.isEmpty())
        throw AppError(QStringLiteral("O papel dos alunos precisa de uma senha"));
    if (roles.pupils == roles.administrator)
        throw AppError(QStringLiteral("O papel dos alunos e o do administrador precisam de nomes diferentes"));
}

void createRoles(pg_conn *server, const ServerRoles &roles)
{
    const PgResult found = runOnServer(server,
                                       QStringLiteral("SELECT rolname FROM pg_catalog.pg_roles WHERE rolname IN ($1, $2)"
                                                      " ORDER BY rolname"),
                                       {roles.administrator, roles.pupils});
    if (PQntuples(found.get()) > 0)
        throw AppError(QStringLiteral("o servidor já tem um papel (role) chamado \"%1\"; nada foi alterado. Escolha "
                                      "outro nome, ou remova o papel com DROP ROLE se ele sobrou de um banco apagado")
                           .arg(QString::fromUtf8(PQgetvalue(found.get(), 0, 0))));
    const std::pair<QString, QString> made[] = {{roles.administrator, roles.administratorPassword},
                                                {roles.pupils, roles.pupilsPassword}};
    for (const auto &[name, password] : made)
        runScriptOnServer(server, QStringLiteral("CREATE ROLE %1 LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE"
                                                 " NOREPLICATION NOBYPASSRLS PASSWORD %2")
                                      .arg(escapedIdentifier(server, name),
                                           escapedLiteral(server, encryptedPassword(server, password, name))));
}

void grantRoles(pg_conn *server, const ServerRoles &roles)
{
    const PgResult names = runOnServer(server, QStringLiteral("SELECT pg_catalog.current_database(),"
                                                              " pg_catalog.to_regnamespace('public') IS NOT NULL"));
    const QString database = escapedIdentifier(server, QString::fromUtf8(PQgetvalue(names.get(), 0, 0)));
    const bool publicSchema = PQgetvalue(names.get(), 0, 1)[0] == 't';
    const QString administrator = escapedIdentifier(server, roles.administrator);
    const QString pupils = escapedIdentifier(server, roles.pupils);
    const QString both = administrator + QStringLiteral(", ") + pupils;
    // Nobody else connects, or makes temporary tables or objects in schema public: the database
    // is the bank's. (A server older than 15 lets PUBLIC create in schema public.)
    QString script = QStringLiteral("REVOKE ALL ON DATABASE %1 FROM PUBLIC;"
                                    "GRANT CONNECT ON DATABASE %1 TO %2;")
                         .arg(database, both);
    if (publicSchema)
        script += QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC;");
    // Reading the bank, for both; changing the questions and the photos, for the administrator;
    // the record, for the pupils, through its two functions alone.
    script += QStringLiteral("GRANT USAGE ON SCHEMA perguntas, inicial TO %1;"
                             "GRANT SELECT ON perguntas.db, perguntas.fotos, perguntas.mudancas TO %1;"
                             "GRANT EXECUTE ON FUNCTION perguntas.chave(text), inicial.administrador() TO %1;"
                             "GRANT INSERT, UPDATE, DELETE ON perguntas.db, perguntas.fotos TO %2;"
                             "GRANT USAGE ON SCHEMA recorde TO %3;"
                             "GRANT SELECT ON recorde.db TO %3;"
                             "GRANT EXECUTE ON FUNCTION recorde.travar(), recorde.gravar(text, integer) TO %3;")
                  .arg(both, administrator, pupils);
    runScriptOnServer(server, script);
}

void setRolePassword(pg_conn *server, const QString &role, const QString &password)
{
    runScriptOnServer(server, QStringLiteral("ALTER ROLE %1 PASSWORD %2")
                                  .arg(escapedIdentifier(server, role),
                                       escapedLiteral(server, encryptedPassword(server, password, role))));
}
