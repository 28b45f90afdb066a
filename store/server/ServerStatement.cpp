#include "store/server/ServerStatement.h"

#include "store/core/AppError.h"

#include <libpq-fe.h>

ServerStatement::ServerStatement(ServerEngine &engine, const QString &sql)
    : m_engine(engine), m_prepared(engine.prepare(sql)), m_values(m_prepared.parameters.size())
{
}

int ServerStatement::parameterCount() const { return int(m_prepared.parameters.size()); }

QString ServerStatement::parameterName(int index) const { return m_prepared.parameters.value(index - 1); }

void ServerStatement::bind(int index, const QVariant &value)
{
    if (index < 1 || index > m_values.size())
        throw AppError(QStringLiteral("O comando não tem o parâmetro %1").arg(index));
    m_values[index - 1] = value;
}

bool ServerStatement::isReadOnly() const { return !m_prepared.columns.isEmpty(); }

bool ServerStatement::step()
{
    if (!m_result) {
        m_result = m_engine.execute(m_prepared.text, m_values);
        m_row = -1;
    }
    if (m_row < PQntuples(m_result.get()))
        ++m_row;
    return m_row < PQntuples(m_result.get());
}

QVariant ServerStatement::value(int column) const
{
    if (!m_result || m_row < 0 || m_row >= PQntuples(m_result.get()) || column < 0
        || column >= PQnfields(m_result.get()))
        return QVariant();
    return serverValue(m_result.get(), m_row, column);
}

int ServerStatement::columnCount() const { return int(m_prepared.columns.size()); }

QString ServerStatement::columnName(int column) const { return m_prepared.columns.value(column); }
