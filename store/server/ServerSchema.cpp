#include "store/server/ServerSchema.h"

#include "store/core/AppError.h"
#include "store/server/ServerKey.h"
#include "store/server/Libpq.h"
#include "store/bank/QuestionCheck.h"

#include <libpq-fe.h>

namespace {

// The columns of perguntas.db, in stored order, as CREATE TABLE declares them: `text` the type
// of a text.
QString questionColumnDeclarations(const QString &text)
{
    QStringList columns;
    for (const FieldDef &field : questionFields())
        columns << field.name.toLower() + QLatin1Char(' ')
                + (field.type == FieldType::String ? text : QStringLiteral("double precision"));
    return columns.join(QLatin1String(", "));
}

} // namespace

void makeQuestionSchema(pg_conn *server)
{
    // Texts are declared as a folder's table files declare them, without a size: the cursor
    // cuts them to their fields, and a bank copied from a folder keeps what it holds. They
    // compare byte by byte (COLLATE "C"), as SQLite compares them. The editor's order is
    // (Id, linha) and the search's (the case-folded Pergunta, linha): one index each, so that
    // every move is one seek. Every statement that changes the table counts itself in
    // perguntas.mudancas, so that a count of the bank is kept until it changes; the counting runs
    // with its owner's rights, so that a role that may change the questions need not be able to
    // write the counter. Functions are not for everyone (EXECUTE to PUBLIC is taken back): each
    // role of the game is given the ones it uses.
    runScriptOnServer(server,
                      QStringLiteral("CREATE SCHEMA perguntas;"
                                     "CREATE FUNCTION perguntas.chave(texto text) RETURNS text"
                                     " LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE RETURN %1;"
                                     "CREATE TABLE perguntas.db (%6,"
                                     " linha bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY);"
                                     "CREATE UNIQUE INDEX idnumero ON perguntas.db (id);"
                                     "CREATE INDEX idordem ON perguntas.db (id, linha);"
                                     "CREATE INDEX idpergunta ON perguntas.db (%3%2, linha);"
                                     "CREATE TABLE perguntas.mudancas (total bigint NOT NULL);"
                                     "INSERT INTO perguntas.mudancas VALUES (0);"
                                     "CREATE FUNCTION perguntas.contar_mudanca() RETURNS trigger LANGUAGE plpgsql"
                                     " SECURITY DEFINER SET search_path = ''"
                                     " AS 'BEGIN UPDATE perguntas.mudancas SET total = total + 1; RETURN NULL; END';"
                                     "CREATE TRIGGER mudanca AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE"
                                     " ON perguntas.db FOR EACH STATEMENT EXECUTE FUNCTION perguntas.contar_mudanca();"
                                     "CREATE TABLE perguntas.fotos (nome text%2 PRIMARY KEY, dados bytea NOT NULL"
                                     " CHECK (octet_length(dados) <= %4));"
                                     "REVOKE ALL ON ALL FUNCTIONS IN SCHEMA perguntas FROM PUBLIC;"
                                     "COMMENT ON SCHEMA perguntas IS %5;")
                          .arg(serverCaseFoldExpression(QStringLiteral("texto")), QStringLiteral(" COLLATE \"C\""),
                               serverCaseFoldedKey(QStringLiteral("pergunta")))
                          .arg(MaxPhotoFileBytes)
                          .arg(escapedLiteral(server, BankSchemaMark),
                               questionColumnDeclarations(QStringLiteral("text COLLATE \"C\""))));
}

void refuseUnknownServer(pg_conn *server, const QString &where)
{
    // perguntas.chave() is an SQL-standard function body, which version 14 brought.
    if (PQserverVersion(server) < 140000)
        throw AppError(QStringLiteral("o %1 é um PostgreSQL %2, e o jogo precisa da versão 14 ou mais nova")
                           .arg(where, QString::fromUtf8(PQparameterStatus(server, "server_version"))));
    const PgResult mark = runOnServer(server, QStringLiteral("SELECT pg_catalog.obj_description(oid, 'pg_namespace')"
                                                             " FROM pg_catalog.pg_namespace WHERE nspname = 'perguntas'"));
    if (PQntuples(mark.get()) != 1 || PQgetisnull(mark.get(), 0, 0))
        return;
    const QString found = QString::fromUtf8(PQgetvalue(mark.get(), 0, 0));
    if (found.startsWith(BankSchemaMarkStart) && found != BankSchemaMark)
        throw AppError(QStringLiteral("o banco de perguntas do %1 é de outra versão do jogo (\"%2\"), que este programa "
                                      "não conhece: ele conhece \"%3\". Use o programa da versão que preparou o "
                                      "banco, ou prepare outro banco com jornada-dados --servidor")
                           .arg(where, found, BankSchemaMark));
}

void makeRecordSchema(pg_conn *server)
{
    // One row, always there, so that a claim has a row to lock even before the first record;
    // the index on a constant keeps it the only one. The table holds any record of a whole game;
    // gravar() also holds the name to what the start screen takes, and never lowers the record,
    // so that a pupils' machine, which can do nothing else to the record, cannot wipe it out.
    runScriptOnServer(server,
                      QStringLiteral("CREATE SCHEMA recorde;"
                                     "CREATE TABLE recorde.db (nome text COLLATE \"C\", pontos integer,"
                                     " CHECK ((nome IS NULL) = (pontos IS NULL)),"
                                     " CHECK (pontos BETWEEN %1 AND %2));"
                                     "CREATE UNIQUE INDEX uma_linha ON recorde.db ((true));"
                                     "INSERT INTO recorde.db VALUES (NULL, NULL);"
                                     "CREATE FUNCTION recorde.travar() RETURNS TABLE (nome text, pontos integer)"
                                     " LANGUAGE sql SECURITY DEFINER SET search_path = ''"
                                     " AS 'SELECT r.nome, r.pontos FROM recorde.db r FOR UPDATE';"
                                     "CREATE FUNCTION recorde.gravar(novo_nome text, novos_pontos integer) RETURNS void"
                                     " LANGUAGE plpgsql SECURITY DEFINER SET search_path = '' AS $gravar$"
                                     " DECLARE atual integer;"
                                     " BEGIN"
                                     "  IF novo_nome IS NULL OR pg_catalog.char_length(novo_nome) > %3"
                                     "     OR novos_pontos IS NULL OR novos_pontos NOT BETWEEN %1 AND %2 THEN"
                                     "   RAISE check_violation USING MESSAGE = pg_catalog.format("
                                     "    'um recorde tem um nome de até %3 caracteres e de %1 a %2 pontos, não %s pontos',"
                                     "    novos_pontos);"
                                     "  END IF;"
                                     "  SELECT r.pontos INTO atual FROM recorde.db r FOR UPDATE;"
                                     "  IF atual IS NOT NULL AND novos_pontos < atual THEN"
                                     "   RAISE check_violation USING MESSAGE = pg_catalog.format("
                                     "    'o recorde de %s pontos não dá lugar a um de %s', atual, novos_pontos);"
                                     "  END IF;"
                                     "  UPDATE recorde.db SET nome = novo_nome, pontos = novos_pontos;"
                                     " END $gravar$;"
                                     "REVOKE ALL ON ALL FUNCTIONS IN SCHEMA recorde FROM PUBLIC;")
                          .arg(RecordLimits::lowest)
                          .arg(RecordLimits::highest)
                          .arg(RecordLimits::nameLength));
}

void makeAccountSchema(pg_conn *server, const QString &administrator)
{
    runScriptOnServer(server, QStringLiteral("CREATE SCHEMA inicial;"
                                             "CREATE TABLE inicial.db (login text COLLATE \"C\" NOT NULL);"
                                             "CREATE FUNCTION inicial.administrador() RETURNS text"
                                             " LANGUAGE sql STABLE SECURITY DEFINER SET search_path = ''"
                                             " AS 'SELECT a.login FROM inicial.db a LIMIT 1';"
                                             "REVOKE ALL ON ALL FUNCTIONS IN SCHEMA inicial FROM PUBLIC;"));
    runOnServer(server, QStringLiteral("INSERT INTO inicial.db (login) VALUES ($1)"), {administrator});
}

void refuseExistingBank(pg_conn *server, const QString &where)
{
    const PgResult found = runOnServer(server, QStringLiteral("SELECT pg_catalog.string_agg(nspname, ', ' ORDER BY nspname)"
                                                              " FROM pg_catalog.pg_namespace"
                                                              " WHERE nspname IN ('perguntas', 'inicial', 'recorde')"));
    if (!PQgetisnull(found.get(), 0, 0))
        throw AppError(QStringLiteral("o %1 já tem um banco de perguntas (esquemas %2); nada foi alterado")
                           .arg(where, QString::fromUtf8(PQgetvalue(found.get(), 0, 0))));
}
