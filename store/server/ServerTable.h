#pragma once
// The rows of table db of a schema on a server. Each row carries its number in the column
// `linha` (an identity, the storage order), which stands for SQLite's rowid; moves are keyset
// seeks on an index of (key, linha), one row each.
#include "store/tables/TableRows.h"

#include <QHash>

#include <memory>

class ServerEngine;

class ServerTable final : public TableRows {
public:
    // Finds table db of the schema named after `fileName` and checks that it holds `fields` and
    // the row number. Throws AppError.
    ServerTable(std::shared_ptr<ServerEngine> engine, const QString &fileName, const QList<FieldDef> &fields);

    Order indexOrder(const QString &indexName) override;
    void setOrder(const Order &order) override;
    std::optional<Row> seek(Seek how, const Row *from = nullptr, const QVariant &nearestKey = {}) const override;
    std::optional<Row> byRowid(qint64 rowid) const override;
    qint64 insert(const QList<QVariant> &values) override;
    bool update(qint64 rowid, const QList<bool> &changed, const QList<QVariant> &values) override;
    void remove(qint64 rowid) override;

private:
    // The first row of the selection from the table with `tail` (WHERE ... ORDER BY ... LIMIT 1).
    std::optional<Row> fetch(const QString &tail, const QList<QVariant> &parameters = {}) const;
    // The row that `tail` gives, or else the one that `otherwise` gives, in one statement.
    std::optional<Row> fetchEither(const QString &tail, const QString &otherwise,
                                   const QList<QVariant> &parameters = {}) const;
    std::optional<Row> firstRow(const QString &sql, const QList<QVariant> &parameters) const;

    std::shared_ptr<ServerEngine> m_engine;
    QString m_from;      // "schema".db
    Order m_order;
    QString m_key;       // the order's key expression
    QString m_soughtKey; // the key of a value sought, bound as :CHAVE
    QString m_selection; // linha, key, fields
    QHash<QString, Order> m_indexOrders; // by the index's name in lower case
};
