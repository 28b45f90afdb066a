#include "store/ServerSetup.h"

#include "store/AppError.h"
#include "store/BankLocation.h"
#include "store/CaseFoldedKey.h"
#include "store/Libpq.h"
#include "store/QuestionCheck.h"
#include "store/Setup.h"

#include <libpq-fe.h>

#include <cmath>
#include <functional>

namespace {

// Runs `work` in one transaction on a connection of its own; a failure undoes it all.
void inTransaction(const QString &connection, const std::function<void(pg_conn *)> &work)
{
    PgConnection server = connectToServer(connection);
    runOnServer(server.get(), QStringLiteral("BEGIN"));
    // A failure leaves the transaction open; closing the connection, as `server` goes, undoes it.
    work(server.get());
    runOnServer(server.get(), QStringLiteral("COMMIT"));
}

void refuseExisting(pg_conn *server, const QString &connection, const QString &table)
{
    const PgResult found = runOnServer(server, QStringLiteral("SELECT pg_catalog.to_regclass($1) IS NOT NULL"), {table});
    if (PQgetvalue(found.get(), 0, 0)[0] == 't')
        throw AppError(QStringLiteral("A tabela já existe: %1 no %2")
                           .arg(table, BankLocation::server(connection).description()));
}

} // namespace

void createServerQuestionTable(const QString &connection)
{
    inTransaction(connection, [&](pg_conn *server) {
        refuseExisting(server, connection, QStringLiteral("perguntas.db"));
        // Texts are declared as a folder's table files declare them, without a size: the cursor
        // cuts them to their fields, and a bank copied from a folder keeps what it holds. They
        // compare byte by byte (COLLATE "C"), as SQLite compares them. The editor's order is
        // (Id, linha) and the search's (the case-folded Pergunta, linha): one index each, so that
        // every move is one seek. Every statement that changes the table counts itself in
        // perguntas.mudancas, so that a count of the bank is kept until it changes. The photos
        // travel with the bank, in perguntas.fotos (ServerPhotos.h).
        runScriptOnServer(server,
                          QStringLiteral("CREATE SCHEMA IF NOT EXISTS perguntas;"
                                         "CREATE OR REPLACE FUNCTION perguntas.chave(texto text) RETURNS text"
                                         " LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE RETURN %1;"
                                         "CREATE TABLE perguntas.db ("
                                         " pergunta text%2, resp1 text%2, resp2 text%2, resp3 text%2, resp4 text%2,"
                                         " correta text%2, id double precision, foto text%2,"
                                         " linha bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY);"
                                         "CREATE UNIQUE INDEX idnumero ON perguntas.db (id);"
                                         "CREATE INDEX idordem ON perguntas.db (id, linha);"
                                         "CREATE INDEX idpergunta ON perguntas.db (%3%2, linha);"
                                         "CREATE TABLE perguntas.mudancas (total bigint NOT NULL);"
                                         "INSERT INTO perguntas.mudancas VALUES (0);"
                                         "CREATE FUNCTION perguntas.contar_mudanca() RETURNS trigger LANGUAGE plpgsql AS"
                                         " 'BEGIN UPDATE perguntas.mudancas SET total = total + 1; RETURN NULL; END';"
                                         "CREATE TRIGGER mudanca AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE"
                                         " ON perguntas.db FOR EACH STATEMENT EXECUTE FUNCTION perguntas.contar_mudanca();"
                                         "CREATE TABLE perguntas.fotos (nome text%2 PRIMARY KEY, dados bytea NOT NULL"
                                         " CHECK (octet_length(dados) <= %4));")
                              .arg(serverCaseFoldExpression(QStringLiteral("texto")), QStringLiteral(" COLLATE \"C\""),
                                   serverCaseFoldedKey(QStringLiteral("pergunta")))
                              .arg(MaxPhotoFileBytes));
    });
}

void createServerAccountTable(const QString &connection, const QString &login, const QString &password)
{
    inTransaction(connection, [&](pg_conn *server) {
        refuseExisting(server, connection, QStringLiteral("inicial.db"));
        runScriptOnServer(server, QStringLiteral("CREATE SCHEMA IF NOT EXISTS inicial;"
                                           "CREATE TABLE inicial.db (login text COLLATE \"C\","
                                           " senha text COLLATE \"C\","
                                           " linha bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY);"));
        runOnServer(server, QStringLiteral("INSERT INTO inicial.db (login, senha) VALUES ($1, $2)"), {login, password});
    });
}

void insertServerQuestions(const QString &connection, const QList<QuestionRow> &rows)
{
    inTransaction(connection, [&](pg_conn *server) {
        const auto text = [](const QString &value) { return value.isEmpty() ? QVariant() : QVariant(value); };
        for (const QuestionRow &row : rows)
            runOnServer(server,
                        QStringLiteral("INSERT INTO perguntas.db (pergunta, resp1, resp2, resp3, resp4, correta, id, foto)"
                                       " VALUES ($1, $2, $3, $4, $5, $6, $7, $8)"),
                        {text(row.pergunta), text(row.resp1), text(row.resp2), text(row.resp3), text(row.resp4),
                         text(row.correta), std::isnan(row.id) ? QVariant() : QVariant(row.id), text(row.foto)});
    });
}
