#include "store/server/ServerTable.h"

#include "store/core/AppError.h"
#include "store/server/ServerKey.h"
#include "store/tables/Engine.h"
#include "store/server/ServerEngine.h"
#include "store/tables/TableErrors.h"
#include "store/tables/Values.h"

#include <libpq-fe.h>

namespace {

// The column that numbers the rows of every table of the bank on a server.
const QString RowNumber = QStringLiteral("linha");

QString keyExpression(const Order &order)
{
    if (order.folded)
        return serverCaseFoldedKey(quoted(order.column)) + QStringLiteral(" COLLATE \"C\"");
    QString expression = quoted(order.column);
    if (!order.collation.isEmpty())
        expression += QStringLiteral(" COLLATE ") + quoted(order.collation);
    return expression;
}

} // namespace

ServerTable::ServerTable(std::shared_ptr<ServerEngine> engine, const QString &fileName, const QList<FieldDef> &fields)
    : m_engine(std::move(engine))
{
    const QString schema = tableSchemaName(fileName);
    m_from = quoted(schema) + QStringLiteral(".db");
    const QString shown = schema + QStringLiteral(".db");
    PgResult found = m_engine->execute(
        QStringLiteral("SELECT a.attname, pg_catalog.format_type(a.atttypid, a.atttypmod)"
                       " FROM pg_catalog.pg_attribute a"
                       " WHERE a.attrelid = pg_catalog.to_regclass(:TABELA::text) AND a.attnum > 0 AND NOT a.attisdropped"
                       " ORDER BY a.attnum"),
        {m_from});
    QList<ColumnInfo> columns;
    bool numbered = false;
    for (int i = 0; i < PQntuples(found.get()); ++i) {
        const ColumnInfo column{serverValue(found.get(), i, 0).toString(), serverValue(found.get(), i, 1).toString()};
        numbered = numbered || column.name == RowNumber;
        columns.append(column);
    }
    if (columns.isEmpty())
        throw AppError(QStringLiteral("A tabela não existe no servidor: %1").arg(shown));
    describe(shown, columns, fields);
    if (!numbered)
        throw AppError(QStringLiteral("A tabela %1 do servidor não tem a coluna %2, que numera os registros")
                           .arg(shown, RowNumber));
    setOrder(Order());
}

void ServerTable::setOrder(const Order &order)
{
    m_order = order;
    m_key = order.byKey() ? keyExpression(order) : RowNumber;
    m_soughtKey = order.folded ? serverCaseFoldedKey(QStringLiteral(":CHAVE")) : QStringLiteral(":CHAVE");
    m_selection = RowNumber + QStringLiteral(", ") + m_key;
    for (const QString &column : columns())
        m_selection += QStringLiteral(", ") + quoted(column);
}

std::optional<Row> ServerTable::fetch(const QString &tail, const QList<QVariant> &parameters) const
{
    return firstRow(QStringLiteral("SELECT %1 FROM %2 %3").arg(m_selection, m_from, tail), parameters);
}

std::optional<Row> ServerTable::fetchEither(const QString &tail, const QString &otherwise,
                                            const QList<QVariant> &parameters) const
{
    // Each branch is one seek; a number after the selection says which branch a row came from,
    // and the first branch's row wins. The statement's own order by that number, not the order
    // in which the server happens to run the branches, decides.
    return firstRow(QStringLiteral("(SELECT %1, 1 FROM %2 %3) UNION ALL (SELECT %1, 2 FROM %2 %4) ORDER BY %5 LIMIT 1")
                        .arg(m_selection, m_from, tail, otherwise)
                        .arg(columns().size() + 3),
                    parameters);
}

std::optional<Row> ServerTable::firstRow(const QString &sql, const QList<QVariant> &parameters) const
{
    PgResult result = m_engine->execute(sql, parameters);
    if (PQntuples(result.get()) == 0)
        return std::nullopt;
    Row row;
    row.rowid = serverValue(result.get(), 0, 0).toLongLong();
    row.key = serverValue(result.get(), 0, 1);
    row.values.reserve(columns().size());
    for (int i = 0; i < columns().size(); ++i)
        row.values.append(serverValue(result.get(), 0, i + 2));
    return row;
}

std::optional<Row> ServerTable::byRowid(qint64 rowid) const
{
    return fetch(QStringLiteral("WHERE linha = :LINHA"), {rowid});
}

// Every move is one seek in the index of (key, linha): a row comparison from the current
// position, which the server matches with that index. Blank keys come first, as on a folder;
// they are a run of their own, in linha order, since the server would sort them last. A move
// that may cross from that run to the keyed rows, or back, asks for both in one statement: a
// round trip to the server costs far more than a second seek in it.
std::optional<Row> ServerTable::seek(Seek how, const Row *from, const QVariant &nearestKey) const
{
    if (!m_order.byKey()) {
        switch (how) {
        case Seek::First:
            return fetch(QStringLiteral("ORDER BY linha LIMIT 1"));
        case Seek::Last:
            return fetch(QStringLiteral("ORDER BY linha DESC LIMIT 1"));
        case Seek::Next:
            return fetch(QStringLiteral("WHERE linha > :LINHA ORDER BY linha LIMIT 1"), {from->rowid});
        case Seek::Prior:
            return fetch(QStringLiteral("WHERE linha < :LINHA ORDER BY linha DESC LIMIT 1"), {from->rowid});
        case Seek::Nearest:
            throw AppError(tableText::noIndex());
        }
    }
    const QString &k = m_key;
    const QString up = QStringLiteral(" ORDER BY %1, linha LIMIT 1").arg(k);
    const QString down = QStringLiteral(" ORDER BY %1 DESC, linha DESC LIMIT 1").arg(k);
    const QString firstBlank = QStringLiteral("WHERE %1 IS NULL ORDER BY linha LIMIT 1").arg(k);
    const QString lastBlank = QStringLiteral("WHERE %1 IS NULL ORDER BY linha DESC LIMIT 1").arg(k);
    const QString keyed = QStringLiteral("WHERE %1 IS NOT NULL").arg(k);
    switch (how) {
    case Seek::First:
        return fetchEither(firstBlank, keyed + up);
    case Seek::Last:
        return fetchEither(keyed + down, lastBlank);
    case Seek::Nearest:
        return fetch(QStringLiteral("WHERE %1 >= %2").arg(k, m_soughtKey) + up, {nearestKey});
    case Seek::Next:
        if (from->key.isNull())
            return fetchEither(QStringLiteral("WHERE %1 IS NULL AND linha > :LINHA ORDER BY linha LIMIT 1").arg(k),
                               keyed + up, {from->rowid});
        return fetch(QStringLiteral("WHERE (%1, linha) > (:CHAVE, :LINHA)").arg(k) + up, {from->key, from->rowid});
    case Seek::Prior:
        if (from->key.isNull())
            return fetch(QStringLiteral("WHERE %1 IS NULL AND linha < :LINHA ORDER BY linha DESC LIMIT 1").arg(k),
                         {from->rowid});
        return fetchEither(QStringLiteral("WHERE (%1, linha) < (:CHAVE, :LINHA)").arg(k) + down, lastBlank,
                           {from->key, from->rowid});
    }
    return std::nullopt;
}

Order ServerTable::indexOrder(const QString &indexName)
{
    // Asked of the server's catalog once per index while the table is open: the editor's search
    // asks at every search, and the catalog query costs more than the search itself. An index
    // made or dropped meanwhile changes nothing that the order's statements need: the order is
    // the key expression, which the server evaluates with or without the index.
    const QString known = indexName.toLower();
    if (const auto found = m_indexOrders.constFind(known); found != m_indexOrders.cend())
        return *found;
    // The index's first key: a column (with the index's collation where it is not the column's
    // own), or an expression, as the server prints it.
    PgResult found = m_engine->execute(
        QStringLiteral("SELECT c.relname, a.attname, l.collname,"
                       " pg_catalog.pg_get_indexdef(x.indexrelid, 1, true)"
                       " FROM pg_catalog.pg_index x"
                       " JOIN pg_catalog.pg_class c ON c.oid = x.indexrelid"
                       " LEFT JOIN pg_catalog.pg_attribute a ON a.attrelid = x.indrelid AND a.attnum = x.indkey[0]"
                       " LEFT JOIN pg_catalog.pg_collation l ON l.oid = x.indcollation[0]"
                       "  AND l.oid IS DISTINCT FROM a.attcollation"
                       " WHERE x.indrelid = pg_catalog.to_regclass(:TABELA::text)"
                       " AND pg_catalog.lower(c.relname) = pg_catalog.lower(:INDICE::text)"),
        {m_from, indexName});
    if (PQntuples(found.get()) == 0)
        throw AppError(QStringLiteral("O índice não foi encontrado: %1").arg(indexName));
    Order order;
    const QVariant column = serverValue(found.get(), 0, 1);
    if (!column.isNull()) {
        order.column = tableColumn(column.toString());
        order.collation = serverValue(found.get(), 0, 2).toString();
    } else {
        const QString printed = serverValue(found.get(), 0, 3).toString();
        for (const QString &text : textColumns())
            if (serverIndexesCaseFoldedKey(printed, text)) {
                order.column = text;
                order.folded = true;
            }
    }
    if (order.column.isEmpty())
        throw AppError(QStringLiteral("O índice %1 não começa por um campo").arg(indexName));
    order.indexName = serverValue(found.get(), 0, 0).toString();
    m_indexOrders.insert(known, order);
    return order;
}

qint64 ServerTable::insert(const QList<QVariant> &values)
{
    QStringList names, marks;
    for (int i = 0; i < columns().size(); ++i) {
        names.append(quoted(columns()[i]));
        marks.append(QStringLiteral("$%1").arg(i + 1));
    }
    PgResult inserted = m_engine->execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING linha")
                                              .arg(m_from, names.join(QStringLiteral(", ")),
                                                   marks.join(QStringLiteral(", "))),
                                          values);
    return serverValue(inserted.get(), 0, 0).toLongLong();
}

bool ServerTable::update(qint64 rowid, const QList<bool> &changed, const QList<QVariant> &values)
{
    QStringList assignments;
    QList<QVariant> bound;
    for (int i = 0; i < columns().size(); ++i) {
        if (changed[i]) {
            bound.append(values[i]);
            assignments.append(QStringLiteral("%1 = $%2").arg(quoted(columns()[i])).arg(bound.size()));
        }
    }
    if (assignments.isEmpty())
        return true;
    bound.append(rowid);
    PgResult updated = m_engine->execute(QStringLiteral("UPDATE %1 SET %2 WHERE linha = $%3")
                                             .arg(m_from, assignments.join(QStringLiteral(", ")))
                                             .arg(bound.size()),
                                         bound);
    return qstrcmp(PQcmdTuples(updated.get()), "0") != 0;
}

void ServerTable::remove(qint64 rowid)
{
    m_engine->execute(QStringLiteral("DELETE FROM %1 WHERE linha = :LINHA").arg(m_from), {rowid});
}
