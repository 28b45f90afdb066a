#include "PlainFile.h"

#include <QFile>
#include <sqlite3.h>

PlainFile::PlainFile(const QString &path)
{
    sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
}

PlainFile::~PlainFile()
{
    sqlite3_close(m_db);
}

QStringList PlainFile::rows(const QString &sql, const QStringList &parameters, int column)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        return {QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(m_db))};
    for (int i = 0; i < parameters.size(); ++i)
        sqlite3_bind_text(statement, i + 1, parameters[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
    QStringList result;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        result.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column))));
    if (rc != SQLITE_DONE)
        result = {QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(m_db))};
    sqlite3_finalize(statement);
    return result;
}

QString PlainFile::exec(const QString &sql)
{
    char *error = nullptr;
    sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString text = QString::fromUtf8(error);
    sqlite3_free(error);
    return text;
}
