#pragma once
// The rows of a table file in a data folder, on the folder's SQLite connection (Database.h).
#include "store/tables/TableRows.h"

#include <memory>

class Database;

class SqliteTable final : public TableRows {
public:
    // Attaches the table file `fileName` of `directory` (the connection's folder, as its caller
    // named it) and checks that it holds
    // table db with `fields`. An index that orders one of the text fields under NOCASE, which
    // ignores the case of A-Z only (as in tables made by earlier versions of the set-up tool), is
    // first replaced by the same-named index on caseFoldedKey() of that field; while the file
    // cannot be changed (read-only, or locked by another program) it is kept as it is.
    SqliteTable(std::shared_ptr<Database> db, const QString &directory, const QString &fileName,
                const QList<FieldDef> &fields);

    Order indexOrder(const QString &indexName) override;
    void setOrder(const Order &order) override;
    std::optional<Row> seek(Seek how, const Row *from = nullptr, const QVariant &nearestKey = {}) const override;
    std::optional<Row> byRowid(qint64 rowid) const override;
    qint64 insert(const QList<QVariant> &values) override;
    bool update(qint64 rowid, const QList<bool> &changed, const QList<QVariant> &values) override;
    void remove(qint64 rowid) override;

private:
    std::optional<Row> fetch(const QString &tail, const QList<QVariant> &parameters = {}) const;

    std::shared_ptr<Database> m_db;
    QString m_schema;
    QString m_from;      // "schema".db
    Order m_order;
    QString m_key;       // the order's key expression
    QString m_soughtKey; // the key of a value sought, bound as ?1
    QString m_selection; // rowid, key, fields
};
