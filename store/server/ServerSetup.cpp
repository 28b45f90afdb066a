#include "store/server/ServerSetup.h"

#include "store/core/AppError.h"
#include "store/server/Conninfo.h"
#include "store/tables/Fields.h"
#include "store/server/Libpq.h"
#include "store/bank/QuestionCheck.h"
#include "store/server/ServerSchema.h"
#include "store/bank/Question.h"
#include "store/core/Win1252.h"

#include <QFile>

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

QString serverName(const QString &connection) { return serverDescription(connection); }

void refuseExistingTable(pg_conn *server, const QString &connection, const QString &table)
{
    const PgResult found = runOnServer(server, QStringLiteral("SELECT pg_catalog.to_regclass($1) IS NOT NULL"), {table});
    if (PQgetvalue(found.get(), 0, 0)[0] == 't')
        throw AppError(QStringLiteral("A tabela já existe: %1 no %2").arg(table, serverName(connection)));
}

void insertRows(pg_conn *server, const QList<QuestionRow> &rows)
{
    const auto text = [](const QString &value) { return value.isEmpty() ? QVariant() : QVariant(value); };
    for (const QuestionRow &row : rows)
        runOnServer(server,
                    QStringLiteral("INSERT INTO perguntas.db (pergunta, resp1, resp2, resp3, resp4, correta, id, foto)"
                                   " VALUES ($1, $2, $3, $4, $5, $6, $7, $8)"),
                    {text(row.pergunta), text(row.resp1), text(row.resp2), text(row.resp3), text(row.resp4),
                     text(row.correta), std::isnan(row.id) ? QVariant() : QVariant(row.id), text(row.foto)});
}

// Stores each photo, read from its file one at a time: a bank's photos together may not fit in
// memory.
void insertPhotos(pg_conn *server, const QList<ServerPhotoFile> &photos)
{
    for (const ServerPhotoFile &photo : photos) {
        QFile file(photo.path);
        if (!file.open(QIODevice::ReadOnly))
            throw AppError(QStringLiteral("não foi possível ler a foto %1: %2").arg(photo.path, file.errorString()));
        if (const QString tooLarge = photoSizeProblem(file.size()); !tooLarge.isEmpty())
            throw AppError(QStringLiteral("%1: %2").arg(tooLarge, photo.path));
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw AppError(QStringLiteral("não foi possível ler a foto %1: %2").arg(photo.path, file.errorString()));
        runOnServer(server, QStringLiteral("INSERT INTO perguntas.fotos (nome, dados) VALUES ($1, $2)"),
                    {photo.name, bytes});
    }
}

} // namespace

void createServerQuestionTable(const QString &connection)
{
    inTransaction(connection, [&](pg_conn *server) {
        refuseExistingTable(server, connection, QStringLiteral("perguntas.db"));
        makeQuestionSchema(server);
    });
}

void createServerRecordTable(const QString &connection)
{
    inTransaction(connection, [&](pg_conn *server) {
        refuseExistingTable(server, connection, QStringLiteral("recorde.db"));
        makeRecordSchema(server);
    });
}

void insertServerQuestions(const QString &connection, const QList<QuestionRow> &rows)
{
    inTransaction(connection, [&](pg_conn *server) { insertRows(server, rows); });
}

void storeServerQuestions(const QString &connection, const QList<ServerPhotoFile> &photos,
                          const std::function<void(const QuestionWriter &)> &produce)
{
    inTransaction(connection, [&](pg_conn *server) {
        // Other writers wait (or give up, after the engine's wait) from here on: no two take the
        // same numbers. The game's reading goes on.
        runOnServer(server, QStringLiteral("LOCK TABLE perguntas.db IN SHARE ROW EXCLUSIVE MODE"));
        insertPhotos(server, photos);
        const PgResult largest = runOnServer(server, QStringLiteral("SELECT floor(max(id)) FROM perguntas.db"));
        double next = PQgetisnull(largest.get(), 0, 0) ? 1 : serverValue(largest.get(), 0, 0).toDouble() + 1;
        const auto blankIfEmpty = [](const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); };
        const auto bound = [&](const StoredTexts &texts, double id) {
            QList<QVariant> values;
            for (const QString &text : texts)
                values.append(blankIfEmpty(text));
            values.append(id);
            return values;
        };
        produce([&](const QuestionRow &row) -> StoredRow {
            StoredTexts texts = storedTexts(row);
            if (!std::isnan(row.id)) {
                const PgResult found = runOnServer(server, QStringLiteral("SELECT pergunta, resp1, resp2, resp3, resp4,"
                                                                          " correta, foto FROM perguntas.db WHERE id = $1"),
                                                   {row.id});
                if (PQntuples(found.get()) > 0) {
                    StoredTexts old;
                    for (int i = 0; i < 7; ++i)
                        old[size_t(i)] = serverValue(found.get(), 0, i).toString();
                    if (sameAsStored(texts, old))
                        return {row.id, StoredAs::Unchanged};
                    runOnServer(server,
                                QStringLiteral("UPDATE perguntas.db SET pergunta = $1, resp1 = $2, resp2 = $3, resp3 = $4,"
                                               " resp4 = $5, correta = $6, foto = $7 WHERE id = $8"),
                                bound(texts, row.id));
                    return {row.id, StoredAs::Replaced};
                }
            }
            runOnServer(server,
                        QStringLiteral("INSERT INTO perguntas.db (pergunta, resp1, resp2, resp3, resp4, correta, foto, id)"
                                       " VALUES ($1, $2, $3, $4, $5, $6, $7, $8)"),
                        bound(texts, next));
            return {next++, StoredAs::Added};
        });
    });
}

QList<QuestionRow> readServerQuestionTable(const QString &connection)
{
    const PgConnection server = connectToServer(connection);
    const PgResult found = runOnServer(server.get(), QStringLiteral("SELECT pergunta, resp1, resp2, resp3, resp4, correta,"
                                                                    " id, foto FROM perguntas.db ORDER BY id, linha"));
    QList<QuestionRow> rows;
    rows.reserve(PQntuples(found.get()));
    for (int r = 0; r < PQntuples(found.get()); ++r) {
        const auto text = [&](int column) { return serverValue(found.get(), r, column).toString(); };
        QuestionRow row;
        row.pergunta = text(0);
        row.resp1 = text(1);
        row.resp2 = text(2);
        row.resp3 = text(3);
        row.resp4 = text(4);
        row.correta = text(5);
        row.id = PQgetisnull(found.get(), r, 6) ? std::nan("") : serverValue(found.get(), r, 6).toDouble();
        row.foto = text(7);
        rows.append(row);
    }
    return rows;
}

void createServerBank(const QString &connection, const ServerBankContents &contents)
{
    checkRoles(contents.roles);
    if (const std::optional<Record> &record = contents.record;
        record && (record->points < RecordLimits::lowest || record->points > RecordLimits::highest))
        throw AppError(QStringLiteral("o recorde de %1 pontos (%2) está fora do que um jogo inteiro pode marcar, de "
                                      "%3 a %4 pontos; nada foi alterado")
                           .arg(record->points)
                           .arg(record->name)
                           .arg(RecordLimits::lowest)
                           .arg(RecordLimits::highest));
    inTransaction(connection, [&](pg_conn *server) {
        refuseExistingBank(server, serverName(connection));
        createRoles(server, contents.roles);
        makeQuestionSchema(server);
        makeRecordSchema(server);
        makeAccountSchema(server, contents.roles.administrator);
        grantRoles(server, contents.roles);
        insertRows(server, contents.questions);
        insertPhotos(server, contents.photos);
        // The name as the record file would keep it: Windows-1252 characters only.
        if (const std::optional<Record> &record = contents.record)
            runOnServer(server, QStringLiteral("UPDATE recorde.db SET nome = $1, pontos = $2"),
                        {fromWin1252(toWin1252(record->name)), record->points});
    });
}

QString setServerAdminPassword(const QString &connection, const QString &password)
{
    checkAccountText(password, accountFields()[1]);
    QString administrator;
    inTransaction(connection, [&](pg_conn *server) {
        const PgResult found = runOnServer(server, QStringLiteral("SELECT inicial.administrador()"));
        if (PQntuples(found.get()) != 1 || PQgetisnull(found.get(), 0, 0))
            throw AppError(QStringLiteral("o banco do %1 não diz qual é o papel do administrador (inicial.db está vazia)")
                               .arg(serverName(connection)));
        administrator = QString::fromUtf8(PQgetvalue(found.get(), 0, 0));
        setRolePassword(server, administrator, password);
    });
    return administrator;
}
