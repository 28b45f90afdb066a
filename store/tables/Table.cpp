#include "store/tables/Table.h"

#include "store/core/AppError.h"
#include "store/tables/Engine.h"
#include "store/tables/TableErrors.h"
#include "store/tables/TableRows.h"
#include "store/tables/Values.h"
#include "store/core/Win1252.h"

#include <optional>
#include <utility>

struct Table::Private {
    std::shared_ptr<Engine> engine; // kept while the table is open
    std::unique_ptr<TableRows> rows;
    Order order;

    State state = State::Browse;
    std::optional<Row> current;
    QList<QVariant> buffer;
    QList<bool> changed;

    void requireOpen() const
    {
        if (!rows)
            throw AppError(tableText::closed());
    }

    int fieldIndex(const QString &name) const
    {
        requireOpen();
        const QList<FieldDef> &fields = rows->fields();
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        throw AppError(tableText::fieldNotFound(name));
    }

    std::optional<Row> seek(Seek how, const Row *from = nullptr, const QVariant &nearestKey = {}) const
    {
        return rows->seek(how, from, nearestKey);
    }

    // Changes the order and keeps the current record current, with its key in the new order.
    void reorder(const Order &newOrder)
    {
        order = newOrder;
        rows->setOrder(order);
        if (current) {
            const Row before = *current;
            current = rows->byRowid(before.rowid);
            if (!current)
                current = seek(Seek::First);
        }
    }
};

Table::Table(QObject *parent) : QObject(parent), d(std::make_unique<Private>()) {}

Table::~Table() = default;

void Table::open(const EngineSource &bank, const QString &fileName, const QList<FieldDef> &fields,
                 const QString &orderField)
{
    auto p = std::make_unique<Private>();
    p->engine = bank.engine();
    p->rows = p->engine->openTable(fileName, fields);

    Order order;
    if (!orderField.isEmpty()) {
        order.column = p->rows->tableColumn(orderField);
        if (order.column.isEmpty())
            throw fieldNotInTable(orderField, p->rows->shownName());
        order.numeric = p->rows->isNumericColumn(order.column);
    }
    p->order = order;
    p->rows->setOrder(order);
    p->current = p->seek(Seek::First);

    const bool wasEditing = d->state != State::Browse;
    d = std::move(p);
    if (wasEditing)
        emit stateChanged();
    emit recordChanged();
}

bool Table::isOpen() const { return d->rows != nullptr; }

Table::State Table::state() const { return d->state; }

bool Table::hasRecord() const { return d->state != State::Insert && d->current.has_value(); }

bool Table::isModified() const { return d->changed.contains(true); }

QVariant Table::fieldValue(const QString &name) const
{
    if (!d->rows)
        return QVariant();
    const int i = d->fieldIndex(name);
    if (d->state != State::Browse)
        return d->buffer.value(i);
    return d->current ? d->current->values.value(i) : QVariant();
}

QString Table::fieldText(const QString &name) const { return variantText(fieldValue(name)); }

int Table::fieldSize(const QString &name) const { return d->rows->fields()[d->fieldIndex(name)].size; }

FieldType Table::fieldType(const QString &name) const { return d->rows->fields()[d->fieldIndex(name)].type; }

void Table::setFieldText(const QString &name, const QString &text)
{
    if (d->state == State::Browse)
        throw AppError(tableText::notEditing());
    const int i = d->fieldIndex(name);
    const FieldDef &field = d->rows->fields()[i];
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
    auto fresh = d->rows->byRowid(d->current->rowid);
    if (!fresh)
        throw AppError(tableText::recordGone());
    d->current = fresh;
    d->buffer = fresh->values;
    d->changed = QList<bool>(d->rows->fields().size(), false);
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
    d->buffer = QList<QVariant>(d->rows->fields().size());
    d->changed = QList<bool>(d->rows->fields().size(), false);
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
        rowid = d->rows->insert(d->buffer);
    } else {
        rowid = d->current->rowid;
        // Only the fields set during the edit are written, so that the record's other fields
        // keep whatever another cursor stored meanwhile.
        if (!d->rows->update(rowid, d->changed, d->buffer))
            throw AppError(tableText::recordGone());
    }

    d->current = d->rows->byRowid(rowid);
    d->buffer.clear();
    d->changed.clear();
    d->state = State::Browse;
    emit stateChanged();
    emit recordChanged();
}

void Table::cancel()
{
    if (!d->rows || d->state == State::Browse)
        return;
    // Back to the record that was current (for an insert, the one before append), as stored now.
    if (d->current) {
        const Row before = *d->current;
        d->current = d->rows->byRowid(before.rowid);
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
    d->rows->remove(gone.rowid);
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
    if (!d->rows || !hasRecord())
        return true;
    return !d->seek(Seek::Prior, &*d->current);
}

bool Table::atLast() const
{
    if (!d->rows || !hasRecord())
        return true;
    return !d->seek(Seek::Next, &*d->current);
}

QString Table::neighbourText(bool after, const QString &name) const
{
    if (!d->rows || !hasRecord())
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
        order = d->rows->indexOrder(indexName);
        order.numeric = !order.folded && d->rows->isNumericColumn(order.column);
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
        order.column = d->rows->tableColumn(name);
        if (order.column.isEmpty())
            throw fieldNotInTable(name, d->rows->shownName());
        order.numeric = d->rows->isNumericColumn(order.column);
    }
    endEdit();
    d->reorder(order);
    emit recordChanged();
}

void Table::findNearest(const QString &key)
{
    d->requireOpen();
    if (!d->order.byKey())
        throw AppError(tableText::noIndex());
    const QVariant value = d->order.numeric ? QVariant(parseNumber(key)) : QVariant(key);
    endEdit();
    d->current = d->seek(Seek::Nearest, nullptr, value);
    if (!d->current)
        d->current = d->seek(Seek::Last);
    emit recordChanged();
}
