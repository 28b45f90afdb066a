#pragma once
// One use of a statement text on a server: the values bound are sent with it when it runs,
// and its rows come back together.
#include "store/tables/Engine.h"
#include "store/server/ServerEngine.h"

class ServerStatement final : public EngineStatement {
public:
    // Prepares `sql` (once per text and connection). Throws AppError when the server refuses it.
    ServerStatement(ServerEngine &engine, const QString &sql);

    int parameterCount() const override;
    QString parameterName(int index) const override;
    void bind(int index, const QVariant &value) override;
    // A statement that gives rows is one that reads: run by open(), for its rows. (A statement
    // that changes data and returns rows as well is thus run once, by open().)
    bool isReadOnly() const override;
    bool step() override;
    QVariant value(int column) const override;
    int columnCount() const override;
    QString columnName(int column) const override;

private:
    ServerEngine &m_engine;
    ServerEngine::Prepared m_prepared;
    QList<QVariant> m_values;
    PgResult m_result; // once run
    int m_row = -1;
};
