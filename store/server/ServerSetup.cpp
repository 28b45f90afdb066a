#include "store/server/ServerSetup.h"

#include "store/core/AppError.h"
#include "store/server/Conninfo.h"
#include "store/tables/Fields.h"
#include "store/server/Libpq.h"
#include "store/bank/QuestionCheck.h"
#include "store/server/ServerSchema.h"
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

// questionColumnsSql() as the statements on perguntas.db spell the columns: in lower case.
// Parameter $n binds the column at place n of the stored order (boundValues()).
QString serverColumnsSql(const QString &pattern, bool withId)
{
    return questionColumnsSql(pattern, withId).toLower();
}

const QString &insertQuestionSql()
{
    static const QString sql = QStringLiteral("INSERT INTO perguntas.db (%1) VALUES (%2)")
                                   .arg(serverColumnsSql(QStringLiteral("%1"), true),
                                        serverColumnsSql(QStringLiteral("$%2"), true));
    return sql;
}

// The values of `question`'s columns in stored order.
QList<QVariant> boundValues(const Question &question)
{
    QList<QVariant> values;
    for (QuestionColumn column : QuestionColumns)
        values.append(question.value(column));
    return values;
}

void insertRows(pg_conn *server, const QList<Question> &rows)
{
    for (const Question &row : rows)
        runOnServer(server, insertQuestionSql(), boundValues(row));
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

void insertServerQuestions(const QString &connection, const QList<Question> &rows)
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
        produce([&](const Question &row) -> StoredRow {
            Question stored = storedQuestion(row);
            if (!std::isnan(row.id)) {
                const PgResult found = runOnServer(server,
                                                   QStringLiteral("SELECT %1 FROM perguntas.db WHERE id = $1")
                                                       .arg(serverColumnsSql(QStringLiteral("%1"), false)),
                                                   {row.id});
                if (PQntuples(found.get()) > 0) {
                    Question old;
                    for (size_t i = 0; i < QuestionTexts.size(); ++i)
                        old.setValue(QuestionTexts[i], serverValue(found.get(), 0, int(i)));
                    if (sameAsStored(stored, old))
                        return {row.id, StoredAs::Unchanged};
                    runOnServer(server,
                                QStringLiteral("UPDATE perguntas.db SET %1 WHERE id = $%2")
                                    .arg(serverColumnsSql(QStringLiteral("%1 = $%2"), false),
                                         QString::number(int(QuestionColumn::Id) + 1)),
                                boundValues(stored));
                    return {row.id, StoredAs::Replaced};
                }
            }
            stored.id = next;
            runOnServer(server, insertQuestionSql(), boundValues(stored));
            return {next++, StoredAs::Added};
        });
    });
}

QList<Question> readServerQuestionTable(const QString &connection)
{
    const PgConnection server = connectToServer(connection);
    const PgResult found = runOnServer(server.get(), QStringLiteral("SELECT %1 FROM perguntas.db ORDER BY id, linha")
                                                         .arg(serverColumnsSql(QStringLiteral("%1"), true)));
    QList<Question> rows;
    rows.reserve(PQntuples(found.get()));
    for (int r = 0; r < PQntuples(found.get()); ++r) {
        Question row;
        for (QuestionColumn column : QuestionColumns)
            row.setValue(column, serverValue(found.get(), r, int(column)));
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
