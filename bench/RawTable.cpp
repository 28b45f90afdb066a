#include "RawTable.h"

#include "store/core/AppError.h"

#include <QFile>

#include <sqlite3.h>

namespace {

[[noreturn]] void fail(sqlite3 *db)
{
    throw AppError(QStringLiteral("SQLite: %1").arg(QString::fromUtf8(sqlite3_errmsg(db))));
}

} // namespace

RawTable::RawTable(const QString &directory)
{
    const QByteArray path = QFile::encodeName(directory + QStringLiteral("/Perguntas.DB"));
    if (sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        fail(m_db);
}

RawTable::~RawTable()
{
    for (sqlite3_stmt *s : std::as_const(m_statements))
        sqlite3_finalize(s);
    sqlite3_close(m_db);
}

QString RawTable::first(const char *sql, const QVariant &parameter, int column)
{
    sqlite3_stmt *&s = m_statements[QByteArray(sql)];
    if (!s && sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK)
        fail(m_db);
    if (parameter.typeId() == QMetaType::QString) {
        const QByteArray text = parameter.toString().toUtf8();
        sqlite3_bind_text(s, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    } else if (parameter.isValid()) {
        sqlite3_bind_int64(s, 1, parameter.toLongLong());
    }
    QString wanted;
    if (sqlite3_step(s) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(s); ++i) {
            const QString value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, i)));
            if (i == column)
                wanted = value;
        }
    }
    sqlite3_reset(s);
    return wanted;
}
