#pragma once
// The rows of one table as a cursor (Table) reads and writes them, on the engine that holds the
// bank. The cursor keeps the current record, the edit buffer and the state; this finds records
// in an order by index seeks, never by offsets or scans, and stores them.
#include "store/tables/Fields.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class AppError;

// One stored record as the cursor sees it: where it is (its row number, which also gives the
// storage order, and its value of the ordering key) and the values of the declared fields.
struct Row {
    qint64 rowid = 0;
    QVariant key;
    QList<QVariant> values;
};

enum class Seek { First, Last, Next, Prior, Nearest };

// The order in which the cursor runs. Records are ordered by one key column (with its
// collation) and then by row number, so the order is total even where keys repeat or are blank;
// without a key column, by row number alone. Blank keys come first. With `folded`, the key is
// the column's text with the case of every Windows-1252 letter folded (CaseFoldedKey.h).
struct Order {
    QString column;    // actual column name; empty for storage order
    QString collation; // empty for the column's own
    QString indexName; // the secondary index that gave this order, if any
    bool numeric = false;
    bool folded = false;

    bool byKey() const { return !column.isEmpty(); }
};

class TableRows {
public:
    virtual ~TableRows() = default;

    // The table as error texts name it: its file's path, or its name on the server.
    const QString &shownName() const { return m_shownName; }
    const QList<FieldDef> &fields() const { return m_fields; }
    // The actual names of the declared fields, in their order.
    const QStringList &columns() const { return m_columns; }
    // The column of the table named `name`, without regard to case; empty when there is none.
    QString tableColumn(const QString &name) const { return m_tableColumns.value(name.toLower()); }
    // The actual names of the declared fields that hold text.
    QStringList textColumns() const;
    // Whether `column` holds numbers: a declared field of type Number, or a column declared so.
    bool isNumericColumn(const QString &column) const;

    // The order of the secondary index named `indexName` (without regard to case): its first
    // field with the index's collation, or that field's folded key. Throws AppError when there
    // is no such index or it does not start with a field.
    virtual Order indexOrder(const QString &indexName) = 0;
    // Makes `order` the one the seeks follow.
    virtual void setOrder(const Order &order) = 0;

    // The record just after or before `from` in the order, the first or the last, or the first
    // whose key is equal to or after `nearestKey` (Nearest, with a key order only).
    virtual std::optional<Row> seek(Seek how, const Row *from = nullptr, const QVariant &nearestKey = {}) const = 0;
    virtual std::optional<Row> byRowid(qint64 rowid) const = 0;

    // Stores a new record with `values` for the declared fields; returns its row number.
    virtual qint64 insert(const QList<QVariant> &values) = 0;
    // Writes the fields that `changed` marks with their `values`; false when the record is no
    // longer stored.
    virtual bool update(qint64 rowid, const QList<bool> &changed, const QList<QVariant> &values) = 0;
    virtual void remove(qint64 rowid) = 0;

protected:
    // Takes the columns of the table and finds each declared field among them, without regard
    // to case. Throws AppError naming the first field that is missing.
    void describe(const QString &shownName, const QList<ColumnInfo> &tableColumns, const QList<FieldDef> &fields);

private:
    QString m_shownName;
    QList<FieldDef> m_fields;
    QStringList m_columns;
    QHash<QString, QString> m_tableColumns;  // lower-case -> actual
    QHash<QString, QString> m_declaredTypes; // lower-case -> declared type
};

// The error of a field that table `table` lacks.
AppError fieldNotInTable(const QString &field, const QString &table);
