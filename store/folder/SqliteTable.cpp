#include "store/folder/SqliteTable.h"

#include "store/core/AppError.h"
#include "store/folder/CaseFoldedKey.h"
#include "store/folder/Database.h"
#include "store/folder/Statement.h"
#include "store/tables/TableErrors.h"
#include "store/tables/Values.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The file in `directory` named `fileName`, matched exactly first and then without regard to
// case, as the table names of statements are; empty when there is none.
QString findTableFile(const QString &directory, const QString &fileName)
{
    const QDir dir(directory);
    if (QFileInfo(dir.filePath(fileName)).isFile())
        return dir.filePath(fileName);
    const QStringList candidates = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &candidate : candidates)
        if (candidate.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(candidate);
    return QString();
}

// The key of `order` as the statements order and compare by it. With `folded`, it is
// caseFoldedKey() of the column: exactly the expression of the index, which is what lets SQLite
// seek in it.
QString keyExpression(const Order &order)
{
    if (order.folded)
        return caseFoldedKey(quoted(order.column));
    QString expression = quoted(order.column);
    if (!order.collation.isEmpty())
        expression += QStringLiteral(" COLLATE ") + quoted(order.collation);
    return expression;
}

} // namespace

SqliteTable::SqliteTable(std::shared_ptr<Database> db, const QString &directory, const QString &fileName,
                         const QList<FieldDef> &fields)
    : m_db(std::move(db))
{
    const QString file = findTableFile(directory, fileName);
    if (file.isEmpty())
        throw AppError(QStringLiteral("A tabela não existe: %1").arg(QDir(directory).filePath(fileName)));
    m_schema = m_db->attach(file, true);
    m_from = quoted(m_schema) + QStringLiteral(".db");

    const QList<ColumnInfo> columns = m_db->columns(m_schema);
    if (columns.isEmpty())
        throw AppError(QStringLiteral("O arquivo %1 não tem a tabela db").arg(file));
    describe(file, columns, fields);
    replaceAsciiCaseIndexes(*m_db, m_schema, textColumns());
    setOrder(Order());
}

void SqliteTable::setOrder(const Order &order)
{
    m_order = order;
    // The key is built once for the order: a case-folded one is a long expression.
    m_key = order.byKey() ? keyExpression(order) : QStringLiteral("rowid");
    m_soughtKey = order.folded ? caseFoldedKey(QStringLiteral("?1")) : QStringLiteral("?1");
    m_selection = QStringLiteral("rowid, ") + m_key;
    for (const QString &column : columns())
        m_selection += QStringLiteral(", ") + quoted(column);
}

std::optional<Row> SqliteTable::fetch(const QString &tail, const QList<QVariant> &parameters) const
{
    Statement statement(*m_db, QStringLiteral("SELECT %1 FROM %2 %3").arg(m_selection, m_from, tail));
    for (int i = 0; i < parameters.size(); ++i)
        statement.bind(i + 1, parameters[i]);
    if (!statement.step())
        return std::nullopt;
    Row row;
    row.rowid = statement.value(0).toLongLong();
    row.key = statement.value(1);
    row.values.reserve(columns().size());
    for (int i = 0; i < columns().size(); ++i)
        row.values.append(statement.value(i + 2));
    return row;
}

std::optional<Row> SqliteTable::byRowid(qint64 rowid) const
{
    return fetch(QStringLiteral("WHERE rowid = ?1"), {rowid});
}

// Every move is one index seek: the record just after or before a position (key, rowid) in the
// active order, never an offset or a scan. Blank keys sort first, as SQLite sorts NULL.
std::optional<Row> SqliteTable::seek(Seek how, const Row *from, const QVariant &nearestKey) const
{
    if (!m_order.byKey()) {
        switch (how) {
        case Seek::First:
            return fetch(QStringLiteral("ORDER BY rowid LIMIT 1"));
        case Seek::Last:
            return fetch(QStringLiteral("ORDER BY rowid DESC LIMIT 1"));
        case Seek::Next:
            return fetch(QStringLiteral("WHERE rowid > ?1 ORDER BY rowid LIMIT 1"), {from->rowid});
        case Seek::Prior:
            return fetch(QStringLiteral("WHERE rowid < ?1 ORDER BY rowid DESC LIMIT 1"), {from->rowid});
        case Seek::Nearest:
            throw AppError(tableText::noIndex());
        }
    }
    const QString &k = m_key;
    const QString up = QStringLiteral(" ORDER BY %1, rowid LIMIT 1").arg(k);
    const QString down = QStringLiteral(" ORDER BY %1 DESC, rowid DESC LIMIT 1").arg(k);
    switch (how) {
    case Seek::First:
        return fetch(up);
    case Seek::Last:
        return fetch(down);
    case Seek::Nearest:
        return fetch(QStringLiteral("WHERE %1 >= %2").arg(k, m_soughtKey) + up, {nearestKey});
    case Seek::Next:
        if (from->key.isNull()) {
            if (auto row = fetch(QStringLiteral("WHERE %1 IS NULL AND rowid > ?1 ORDER BY rowid LIMIT 1").arg(k),
                                 {from->rowid}))
                return row;
            return fetch(QStringLiteral("WHERE %1 IS NOT NULL").arg(k) + up);
        }
        // Two seeks rather than one row-value comparison, which SQLite cannot match with a
        // collated index: the rest of the current key's run, then the keys after it.
        if (auto row = fetch(QStringLiteral("WHERE %1 = ?1 AND rowid > ?2 ORDER BY rowid LIMIT 1").arg(k),
                             {from->key, from->rowid}))
            return row;
        return fetch(QStringLiteral("WHERE %1 > ?1").arg(k) + up, {from->key});
    case Seek::Prior:
        if (from->key.isNull())
            return fetch(QStringLiteral("WHERE %1 IS NULL AND rowid < ?1 ORDER BY rowid DESC LIMIT 1").arg(k),
                         {from->rowid});
        if (auto row = fetch(QStringLiteral("WHERE %1 = ?1 AND rowid < ?2 ORDER BY rowid DESC LIMIT 1").arg(k),
                             {from->key, from->rowid}))
            return row;
        if (auto row = fetch(QStringLiteral("WHERE %1 < ?1").arg(k) + down, {from->key}))
            return row;
        return fetch(QStringLiteral("WHERE %1 IS NULL ORDER BY rowid DESC LIMIT 1").arg(k));
    }
    return std::nullopt;
}

Order SqliteTable::indexOrder(const QString &indexName)
{
    const std::optional<IndexInfo> index = m_db->index(m_schema, indexName);
    if (!index)
        throw AppError(QStringLiteral("O índice não foi encontrado: %1").arg(indexName));
    // The order of the index is that of its first field, with the index's collation, or, for an
    // index on the case-folded key of a field, that key's order.
    Order order;
    if (!index->column.isEmpty()) {
        order.column = tableColumn(index->column);
        order.collation = index->collation;
    } else if (index->expression) {
        for (const QString &column : textColumns())
            if (indexesCaseFoldedKey(index->definition, column)) {
                order.column = column;
                order.folded = true;
            }
    }
    if (order.column.isEmpty())
        throw AppError(QStringLiteral("O índice %1 não começa por um campo").arg(indexName));
    if (order.collation.compare(QLatin1String("BINARY"), Qt::CaseInsensitive) == 0)
        order.collation.clear();
    order.indexName = index->name;
    return order;
}

qint64 SqliteTable::insert(const QList<QVariant> &values)
{
    QStringList names, marks;
    for (int i = 0; i < columns().size(); ++i) {
        names.append(quoted(columns()[i]));
        marks.append(QStringLiteral("?%1").arg(i + 1));
    }
    Statement insert(*m_db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(m_from, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    for (int i = 0; i < values.size(); ++i)
        insert.bind(i + 1, values[i]);
    insert.step();
    return m_db->lastInsertId();
}

bool SqliteTable::update(qint64 rowid, const QList<bool> &changed, const QList<QVariant> &values)
{
    QStringList assignments;
    QList<QVariant> bound;
    for (int i = 0; i < columns().size(); ++i) {
        if (changed[i]) {
            bound.append(values[i]);
            assignments.append(QStringLiteral("%1 = ?%2").arg(quoted(columns()[i])).arg(bound.size()));
        }
    }
    if (assignments.isEmpty())
        return true;
    Statement update(*m_db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                                .arg(m_from, assignments.join(QStringLiteral(", ")))
                                .arg(bound.size() + 1));
    for (int i = 0; i < bound.size(); ++i)
        update.bind(i + 1, bound[i]);
    update.bind(bound.size() + 1, rowid);
    update.step();
    return m_db->changes() != 0;
}

void SqliteTable::remove(qint64 rowid)
{
    Statement remove(*m_db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(m_from));
    remove.bind(1, rowid);
    remove.step();
}
