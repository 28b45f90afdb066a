#include "store/folder/Statement.h"

#include "store/core/AppError.h"

#include <QByteArray>

#include <sqlite3.h>

Statement::Statement(Database &db, const QString &sql) : m_connection(db.connection()), m_cached(db.takeCached(sql))
{
    if (m_cached) {
        m_statement = m_cached->statement.get();
    } else {
        m_own = db.prepare(sql);
        m_statement = m_own.get();
    }
}

Statement::Statement(sqlite3 *connection, const QString &sql)
    : m_connection(connection), m_own(prepareStatement(connection, sql.toUtf8())), m_statement(m_own.get())
{
}

Statement::~Statement()
{
    if (m_cached) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        m_cached->inUse = false;
    }
}

void Statement::bind(int index, const QVariant &value)
{
    int rc;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        rc = sqlite3_bind_null(m_statement, index);
        break;
    case QMetaType::Double:
        rc = sqlite3_bind_double(m_statement, index, value.toDouble());
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
        rc = sqlite3_bind_int64(m_statement, index, value.toLongLong());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob64(m_statement, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                 SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        rc = sqlite3_bind_text64(m_statement, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                 SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
    if (rc != SQLITE_OK)
        throw AppError(sqliteErrorText(m_connection));
}

void Statement::reset() { sqlite3_reset(m_statement); }

int Statement::parameterCount() const { return sqlite3_bind_parameter_count(m_statement); }

QString Statement::parameterName(int index) const
{
    const char *marker = sqlite3_bind_parameter_name(m_statement, index);
    return marker ? QString::fromUtf8(marker + 1) : QString();
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw AppError(sqliteErrorText(m_connection));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column)));
    }
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(m_statement, column)));
    }
    default:
        return QVariant();
    }
}

int Statement::columnCount() const { return sqlite3_column_count(m_statement); }

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_statement, column));
}

bool Statement::isReadOnly() const { return sqlite3_stmt_readonly(m_statement) != 0; }
