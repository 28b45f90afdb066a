#include "store/Table.h"

#include "store/AppError.h"
#include "store/CaseFoldedKey.h"
#include "store/Database.h"
#include "store/Statement.h"
#include "store/TableErrors.h"
#include "store/Values.h"
#include "store/Win1252.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <optional>
#include <utility>

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

QString noIndexText() { return QStringLiteral("Nenhum índice está ativo"); }

AppError fieldNotInTable(const QString &field, const QString &file)
{
    return AppError(QStringLiteral("O campo '%1' não foi encontrado na tabela %2").arg(field, file));
}

// One stored record as the cursor sees it: where it is (rowid, and its value of the ordering
// key) and the values of the declared fields.
struct Row {
    qint64 rowid = 0;
    QVariant key;
    QList<QVariant> values;
};

// The order in which the cursor runs. Records are ordered by one key column (with its
// collation) and then by rowid, so the order is total even where keys repeat or are blank;
// without a key column, by rowid alone. Blank keys sort first, as SQLite sorts NULL.
// With `folded`, the key is caseFoldedKey() of the column: the statements order and compare by
// exactly the expression of the index, which is what lets SQLite seek in it.
struct Order {
    QString column;    // actual column name; empty for storage order
    QString collation; // empty for the column's own
    QString indexName; // the secondary index that gave this order, if any
    bool numeric = false;
    bool folded = false;

    bool byKey() const { return !column.isEmpty(); }
    QString keyExpression() const
    {
        if (folded)
            return caseFoldedKey(quoted(column));
        QString expression = quoted(column);
        if (!collation.isEmpty())
            expression += QStringLiteral(" COLLATE ") + quoted(collation);
        return expression;
    }
    // The key of a searched value given as a parameter, to compare with keyExpression().
    QString searchKey(const QString &parameter) const
    {
        return folded ? caseFoldedKey(parameter) : parameter;
    }
};

enum class Seek { First, Last, Next, Prior, Nearest };

} // namespace

struct Table::Private {
    std::shared_ptr<Database> db;
    QString path;
    QString schema;
    QString from;      // "schema".db
    QString selection; // rowid, key, fields
    QList<FieldDef> fields;
    QStringList columns;                 // actual names of the declared fields, in their order
    QHash<QString, QString> tableColumns; // every column of the table: lower-case -> actual
    QHash<QString, QString> declaredTypes; // lower-case -> declared type
    Order order;
    QString key;       // the order's key expression
    QString soughtKey; // the key of a value sought, bound as ?1

    State state = State::Browse;
    std::optional<Row> current;
    QList<QVariant> buffer;
    QList<bool> changed;

    void requireOpen() const
    {
        if (!db)
            throw AppError(tableText::closed());
    }

    int fieldIndex(const QString &name) const
    {
        requireOpen();
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        throw AppError(tableText::fieldNotFound(name));
    }

    void setOrder(const Order &newOrder)
    {
        order = newOrder;
        // The key is built once for the order: a case-folded one is a long expression.
        key = order.byKey() ? order.keyExpression() : QStringLiteral("rowid");
        soughtKey = order.searchKey(QStringLiteral("?1"));
        selection = QStringLiteral("rowid, ") + key;
        for (const QString &column : std::as_const(columns))
            selection += QStringLiteral(", ") + quoted(column);
    }

    Row readRow(Statement &statement) const
    {
        Row row;
        row.rowid = statement.value(0).toLongLong();
        row.key = statement.value(1);
        row.values.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            row.values.append(statement.value(i + 2));
        return row;
    }

    std::optional<Row> fetch(const QString &tail, const QList<QVariant> &parameters = {}) const
    {
        Statement statement(*db, QStringLiteral("SELECT %1 FROM %2 %3").arg(selection, from, tail));
        for (int i = 0; i < parameters.size(); ++i)
            statement.bind(i + 1, parameters[i]);
        if (!statement.step())
            return std::nullopt;
        return readRow(statement);
    }

    std::optional<Row> byRowid(qint64 rowid) const
    {
        return fetch(QStringLiteral("WHERE rowid = ?1"), {rowid});
    }

    // Every move is one index seek: the record just after or before a position (key, rowid) in
    // the active order, never an offset or a scan.
    std::optional<Row> seek(Seek how, const Row *from = nullptr, const QVariant &nearestKey = {}) const
    {
        if (!order.byKey()) {
            switch (how) {
            case Seek::First:
                return fetch(QStringLiteral("ORDER BY rowid LIMIT 1"));
            case Seek::Last:
                return fetch(QStringLiteral("ORDER BY rowid DESC LIMIT 1"));
            case Seek::Next:
                return fetch(QStringLiteral("WHERE rowid > ?1 ORDER BY rowid LIMIT 1"), {from->rowid});
            case Seek::Prior:
                return fetch(QStringLiteral("WHERE rowid < ?1 ORDER BY rowid DESC LIMIT 1"),
                             {from->rowid});
            case Seek::Nearest:
                throw AppError(noIndexText());
            }
        }
        const QString &k = key;
        const QString up = QStringLiteral(" ORDER BY %1, rowid LIMIT 1").arg(k);
        const QString down = QStringLiteral(" ORDER BY %1 DESC, rowid DESC LIMIT 1").arg(k);
        switch (how) {
        case Seek::First:
            return fetch(up);
        case Seek::Last:
            return fetch(down);
        case Seek::Nearest:
            return fetch(QStringLiteral("WHERE %1 >= %2").arg(k, soughtKey) + up, {nearestKey});
        case Seek::Next:
            if (from->key.isNull()) {
                if (auto row = fetch(QStringLiteral("WHERE %1 IS NULL AND rowid > ?1 ORDER BY rowid LIMIT 1")
                                         .arg(k),
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
                return fetch(QStringLiteral("WHERE %1 IS NULL AND rowid < ?1 ORDER BY rowid DESC LIMIT 1")
                                 .arg(k),
                             {from->rowid});
            if (auto row = fetch(QStringLiteral("WHERE %1 = ?1 AND rowid < ?2 ORDER BY rowid DESC LIMIT 1")
                                     .arg(k),
                                 {from->key, from->rowid}))
                return row;
            if (auto row = fetch(QStringLiteral("WHERE %1 < ?1").arg(k) + down, {from->key}))
                return row;
            return fetch(QStringLiteral("WHERE %1 IS NULL ORDER BY rowid DESC LIMIT 1").arg(k));
        }
        return std::nullopt;
    }

    // Changes the order and keeps the current record current, with its key in the new order.
    void reorder(const Order &newOrder)
    {
        setOrder(newOrder);
        if (current) {
            const Row before = *current;
            current = byRowid(before.rowid);
            if (!current)
                current = seek(Seek::First);
        }
    }

    // The column of the table named `name`, without regard to case; empty when there is none.
    QString tableColumn(const QString &name) const { return tableColumns.value(name.toLower()); }

    // The actual names of the declared fields that hold text.
    QStringList textColumns() const
    {
        QStringList texts;
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].type == FieldType::String)
                texts.append(columns[i]);
        return texts;
    }

    bool isNumericColumn(const QString &column) const
    {
        for (const FieldDef &field : fields)
            if (field.name.compare(column, Qt::CaseInsensitive) == 0)
                return field.type == FieldType::Number;
        const QString type = declaredTypes.value(column.toLower()).toUpper();
        return type.contains(QLatin1String("INT")) || type.contains(QLatin1String("REAL"))
            || type.contains(QLatin1String("FLOA")) || type.contains(QLatin1String("DOUB"))
            || type.contains(QLatin1String("NUM"));
    }
};

Table::Table(QObject *parent) : QObject(parent), d(std::make_unique<Private>()) {}

Table::~Table() = default;

void Table::open(const QString &directory, const QString &fileName, const QList<FieldDef> &fields,
                 const QString &orderField)
{
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        throw AppError(QStringLiteral("A pasta não existe: %1").arg(directory));
    const QString file = findTableFile(directory, fileName);
    if (file.isEmpty())
        throw AppError(QStringLiteral("A tabela não existe: %1").arg(QDir(directory).filePath(fileName)));

    auto p = std::make_unique<Private>();
    p->db = Database::forDirectory(directory);
    p->path = file;
    p->fields = fields;
    const QString schema = p->db->attach(file, true);
    p->schema = schema;
    p->from = quoted(schema) + QStringLiteral(".db");

    for (const ColumnInfo &column : p->db->columns(schema)) {
        p->tableColumns.insert(column.name.toLower(), column.name);
        p->declaredTypes.insert(column.name.toLower(), column.declaredType);
    }
    if (p->tableColumns.isEmpty())
        throw AppError(QStringLiteral("O arquivo %1 não tem a tabela db").arg(file));
    for (const FieldDef &field : fields) {
        const QString column = p->tableColumn(field.name);
        if (column.isEmpty())
            throw fieldNotInTable(field.name, file);
        p->columns.append(column);
    }
    replaceAsciiCaseIndexes(*p->db, schema, p->textColumns());

    Order order;
    if (!orderField.isEmpty()) {
        order.column = p->tableColumn(orderField);
        if (order.column.isEmpty())
            throw fieldNotInTable(orderField, file);
        order.numeric = p->isNumericColumn(order.column);
    }
    p->setOrder(order);
    p->current = p->seek(Seek::First);

    const bool wasEditing = d->state != State::Browse;
    d = std::move(p);
    if (wasEditing)
        emit stateChanged();
    emit recordChanged();
}

bool Table::isOpen() const { return d->db != nullptr; }

Table::State Table::state() const { return d->state; }

bool Table::hasRecord() const { return d->state != State::Insert && d->current.has_value(); }

bool Table::isModified() const { return d->changed.contains(true); }

QVariant Table::fieldValue(const QString &name) const
{
    if (!d->db)
        return QVariant();
    const int i = d->fieldIndex(name);
    if (d->state != State::Browse)
        return d->buffer.value(i);
    return d->current ? d->current->values.value(i) : QVariant();
}

QString Table::fieldText(const QString &name) const { return variantText(fieldValue(name)); }

int Table::fieldSize(const QString &name) const { return d->fields[d->fieldIndex(name)].size; }

FieldType Table::fieldType(const QString &name) const { return d->fields[d->fieldIndex(name)].type; }

void Table::setFieldText(const QString &name, const QString &text)
{
    if (d->state == State::Browse)
        throw AppError(tableText::notEditing());
    const int i = d->fieldIndex(name);
    const FieldDef &field = d->fields[i];
    QVariant value;
    if (field.type == FieldType::Number) {
        if (!text.trimmed().isEmpty())
            value = parseNumber(text);
    } else {
        // Tables hold Windows-1252 text only: other characters become what that set makes of them.
        const QString kept = fromWin1252(toWin1252(text.left(field.size)));
        if (!kept.isEmpty())
            value = kept;
    }
    d->changed[i] = true;
    if (d->buffer[i] != value || d->buffer[i].typeId() != value.typeId()) {
        d->buffer[i] = value;
        emit recordChanged();
    }
}

void Table::edit()
{
    d->requireOpen();
    if (d->state != State::Browse)
        return;
    if (!d->current) {
        append();
        return;
    }
    // Edit what is stored now, which another cursor on the same file may have changed.
    auto fresh = d->byRowid(d->current->rowid);
    if (!fresh)
        throw AppError(tableText::recordGone());
    d->current = fresh;
    d->buffer = fresh->values;
    d->changed = QList<bool>(d->fields.size(), false);
    d->state = State::Edit;
    emit stateChanged();
    emit recordChanged();
}

void Table::append()
{
    d->requireOpen();
    if (d->state != State::Browse) {
        if (isModified())
            post();
        else
            cancel();
    }
    d->buffer = QList<QVariant>(d->fields.size());
    d->changed = QList<bool>(d->fields.size(), false);
    d->state = State::Insert;
    emit stateChanged();
    emit recordChanged();
}

void Table::post()
{
    d->requireOpen();
    if (d->state == State::Browse)
        throw AppError(tableText::notEditing());

    qint64 rowid = 0;
    if (d->state == State::Insert) {
        QStringList names, marks;
        for (int i = 0; i < d->columns.size(); ++i) {
            names.append(quoted(d->columns[i]));
            marks.append(QStringLiteral("?%1").arg(i + 1));
        }
        Statement insert(*d->db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(d->from, names.join(QStringLiteral(", ")),
                                          marks.join(QStringLiteral(", "))));
        for (int i = 0; i < d->buffer.size(); ++i)
            insert.bind(i + 1, d->buffer[i]);
        insert.step();
        rowid = d->db->lastInsertId();
    } else {
        rowid = d->current->rowid;
        // Only the fields set during the edit are written, so that the record's other fields
        // keep whatever another cursor stored meanwhile.
        QStringList assignments;
        QList<QVariant> values;
        for (int i = 0; i < d->columns.size(); ++i) {
            if (d->changed[i]) {
                values.append(d->buffer[i]);
                assignments.append(QStringLiteral("%1 = ?%2").arg(quoted(d->columns[i])).arg(values.size()));
            }
        }
        if (!assignments.isEmpty()) {
            Statement update(*d->db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                                         .arg(d->from, assignments.join(QStringLiteral(", ")))
                                         .arg(values.size() + 1));
            for (int i = 0; i < values.size(); ++i)
                update.bind(i + 1, values[i]);
            update.bind(values.size() + 1, rowid);
            update.step();
            if (d->db->changes() == 0)
                throw AppError(tableText::recordGone());
        }
    }

    d->current = d->byRowid(rowid);
    d->buffer.clear();
    d->changed.clear();
    d->state = State::Browse;
    emit stateChanged();
    emit recordChanged();
}

void Table::cancel()
{
    if (!d->db || d->state == State::Browse)
        return;
    // Back to the record that was current (for an insert, the one before append), as stored now.
    if (d->current) {
        const Row before = *d->current;
        d->current = d->byRowid(before.rowid);
        if (!d->current)
            d->current = d->seek(Seek::Next, &before);
        if (!d->current)
            d->current = d->seek(Seek::Prior, &before);
    }
    d->buffer.clear();
    d->changed.clear();
    d->state = State::Browse;
    emit stateChanged();
    emit recordChanged();
}

void Table::remove()
{
    d->requireOpen();
    if (d->state == State::Insert) {
        // Deleting a record that was never stored is dropping it.
        cancel();
        return;
    }
    if (!d->current)
        throw AppError(tableText::empty());
    const Row gone = *d->current;
    {
        Statement remove(*d->db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(d->from));
        remove.bind(1, gone.rowid);
        remove.step();
    }
    d->current = d->seek(Seek::Next, &gone);
    if (!d->current)
        d->current = d->seek(Seek::Prior, &gone);
    const bool wasEditing = d->state != State::Browse;
    d->buffer.clear();
    d->changed.clear();
    d->state = State::Browse;
    if (wasEditing)
        emit stateChanged();
    emit recordChanged();
}

void Table::endEdit()
{
    if (d->state != State::Browse)
        isModified() ? post() : cancel();
}

// A move while editing or inserting first ends the edit, as a change of order does.
void Table::first()
{
    d->requireOpen();
    endEdit();
    d->current = d->seek(Seek::First);
    emit recordChanged();
}

void Table::last()
{
    d->requireOpen();
    endEdit();
    d->current = d->seek(Seek::Last);
    emit recordChanged();
}

void Table::next()
{
    d->requireOpen();
    endEdit();
    if (!d->current)
        return;
    if (auto row = d->seek(Seek::Next, &*d->current)) {
        d->current = row;
        emit recordChanged();
    }
}

void Table::prior()
{
    d->requireOpen();
    endEdit();
    if (!d->current)
        return;
    if (auto row = d->seek(Seek::Prior, &*d->current)) {
        d->current = row;
        emit recordChanged();
    }
}

bool Table::atFirst() const
{
    if (!d->db || !hasRecord())
        return true;
    return !d->seek(Seek::Prior, &*d->current);
}

bool Table::atLast() const
{
    if (!d->db || !hasRecord())
        return true;
    return !d->seek(Seek::Next, &*d->current);
}

QString Table::neighbourText(bool after, const QString &name) const
{
    if (!d->db || !hasRecord())
        return QString();
    const int field = d->fieldIndex(name);
    const auto row = d->seek(after ? Seek::Next : Seek::Prior, &*d->current);
    return row ? variantText(row->values.value(field)) : QString();
}

void Table::setIndexName(const QString &indexName)
{
    d->requireOpen();
    Order order;
    if (!indexName.isEmpty()) {
        const std::optional<IndexInfo> index = d->db->index(d->schema, indexName);
        if (!index)
            throw AppError(QStringLiteral("O índice não foi encontrado: %1").arg(indexName));
        // The order of the index is that of its first field, with the index's collation, or, for
        // an index on the case-folded key of a field, that key's order.
        if (!index->column.isEmpty()) {
            order.column = d->tableColumn(index->column);
            order.collation = index->collation;
        } else if (index->expression) {
            for (const QString &column : d->textColumns())
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
        order.numeric = !order.folded && d->isNumericColumn(order.column);
    }
    endEdit();
    d->reorder(order);
    emit recordChanged();
}

void Table::setIndexFieldNames(const QString &fieldNames)
{
    d->requireOpen();
    Order order;
    const QString name = fieldNames.trimmed();
    if (!name.isEmpty()) {
        order.column = d->tableColumn(name);
        if (order.column.isEmpty())
            throw fieldNotInTable(name, d->path);
        order.numeric = d->isNumericColumn(order.column);
    }
    endEdit();
    d->reorder(order);
    emit recordChanged();
}

void Table::findNearest(const QString &key)
{
    d->requireOpen();
    if (!d->order.byKey())
        throw AppError(noIndexText());
    const QVariant value = d->order.numeric ? QVariant(parseNumber(key)) : QVariant(key);
    endEdit();
    d->current = d->seek(Seek::Nearest, nullptr, value);
    if (!d->current)
        d->current = d->seek(Seek::Last);
    emit recordChanged();
}
