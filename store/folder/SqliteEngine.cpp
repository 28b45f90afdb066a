#include "store/folder/SqliteEngine.h"

#include "store/folder/Database.h"
#include "store/folder/SqliteTable.h"
#include "store/folder/Statement.h"

#include <QFile>

#include <sys/stat.h>

SqliteEngine::SqliteEngine(const QString &directory)
    : m_directory(directory), m_db(Database::forDirectory(directory))
{
}

SqliteEngine::~SqliteEngine() = default;

std::unique_ptr<EngineStatement> SqliteEngine::statement(const QString &sql)
{
    return std::make_unique<Statement>(*m_db, sql);
}

std::unique_ptr<TableRows> SqliteEngine::openTable(const QString &fileName, const QList<FieldDef> &fields)
{
    return std::make_unique<SqliteTable>(m_db, m_directory, fileName, fields);
}

// What tells whether a table may have changed: the changes made through this program's
// connection, the version SQLite gives the file for changes made through any other (another
// program, the sqlite3 shell), and the file itself as the system sees it (for a connection
// opened anew on a file changed meanwhile). Any change to the table moves at least one of them.
std::optional<QVariantList> SqliteEngine::changeMark(const QString &fileName)
{
    const QString schema = tableSchemaName(fileName);
    // Reads the file's header, so a file that another program holds is refused here as a
    // statement on the table would be. (The table-valued pragma_data_version would read the
    // version of the main database whatever schema it is given.)
    qint64 dataVersion = -1;
    {
        Statement version(*m_db, QStringLiteral("pragma %1.data_version").arg(schema));
        if (version.step())
            dataVersion = version.value(0).toLongLong();
    }
    Statement changes(*m_db, QStringLiteral("select total_changes() as mudancas,\n"
                                            "(select file from pragma_database_list where name = '%1') as arquivo")
                                 .arg(schema));
    changes.step();
    const qint64 total = changes.value(0).toLongLong();
    const QString file = changes.value(1).toString();
    if (file.isEmpty())
        return std::nullopt;
    QVariantList mark = {total, dataVersion, file};
    struct stat info {};
    if (::stat(QFile::encodeName(file).constData(), &info) == 0)
        mark << qint64(info.st_size) << qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec
             << quint64(info.st_ino) << quint64(info.st_dev);
    return mark;
}
