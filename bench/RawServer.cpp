#include "RawServer.h"

#include "store/core/AppError.h"

#include <libpq-fe.h>

RawServer::RawServer(const QString &connection) : m_server(connectToServer(connection)) {}

PgResult RawServer::run(const char *sql, const QVariant &parameter, bool binary)
{
    QByteArray &name = m_names[QByteArray(sql)];
    if (name.isEmpty()) {
        name = "medida_" + QByteArray::number(m_names.size());
        const PgResult prepared(PQprepare(m_server.get(), name.constData(), sql, 0, nullptr));
        if (!succeeded(prepared.get())) {
            m_names.remove(QByteArray(sql));
            throw AppError(serverErrorText(prepared.get(), m_server.get()));
        }
    }
    const QList<QVariant> values = parameter.isValid() ? QList<QVariant>{parameter} : QList<QVariant>{};
    const PgParameters bound(values);
    PgResult result(PQexecPrepared(m_server.get(), name.constData(), int(values.size()), bound.values.constData(),
                                   bound.lengths.constData(), bound.formats.constData(), binary ? 1 : 0));
    if (!succeeded(result.get()))
        throw AppError(serverErrorText(result.get(), m_server.get()));
    return result;
}

QString RawServer::first(const char *sql, const QVariant &parameter, int column)
{
    const PgResult result = run(sql, parameter, false);
    QString wanted;
    if (PQntuples(result.get()) > 0) {
        for (int i = 0; i < PQnfields(result.get()); ++i) {
            const QString value = QString::fromUtf8(PQgetvalue(result.get(), 0, i));
            if (i == column)
                wanted = value;
        }
    }
    return wanted;
}

QByteArray RawServer::firstBytes(const char *sql, const QVariant &parameter, int column)
{
    const PgResult result = run(sql, parameter, true);
    if (PQntuples(result.get()) == 0)
        return QByteArray();
    return QByteArray(PQgetvalue(result.get(), 0, column), PQgetlength(result.get(), 0, column));
}
