#include "store/folder/Database.h"

#include "store/core/AppError.h"
#include "store/folder/Statement.h"
#include "store/tables/Values.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QtDebug>

#include <sqlite3.h>

namespace {

// How long a statement waits for a file that another program (the sqlite3 shell, the set-up
// tool, a second copy of the game) holds for a moment. Every wait blocks the window that asked,
// so it is kept short: a program that holds the file longer gets a clear error instead.
constexpr int busyWaitMs = 2000;

// Statements kept prepared per connection. The engine's own texts and the game's statements are
// a few dozen; a caller that made a new text for every use would otherwise grow the cache
// without end.
constexpr std::size_t cacheLimit = 128;

QHash<QString, std::weak_ptr<Database>> &connections()
{
    static QHash<QString, std::weak_ptr<Database>> map;
    return map;
}

} // namespace

std::shared_ptr<Database> Database::forDirectory(const QString &directory)
{
    const QFileInfo info(directory);
    if (directory.isEmpty() || !info.isDir())
        throw AppError(QStringLiteral("A pasta não existe: %1").arg(directory));
    const QString canonical = info.canonicalFilePath();

    auto &map = connections();
    for (auto it = map.begin(); it != map.end();) {
        if (it.value().expired())
            it = map.erase(it);
        else
            ++it;
    }
    if (auto existing = map.value(canonical).lock())
        return existing;
    std::shared_ptr<Database> db(new Database(canonical));
    map.insert(canonical, db);
    return db;
}

Database::Database(const QString &canonicalDirectory)
    : m_db(openConnection(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI)),
      m_directory(canonicalDirectory)
{
    sqlite3_busy_timeout(m_db.get(), busyWaitMs);
    attachNewFiles();
}

Database::~Database() = default;

QString Database::errorText() const { return sqliteErrorText(m_db.get()); }

SqliteStatement Database::prepare(const QString &sql, bool persistent)
{
    const QByteArray utf8 = sql.toUtf8();
    const unsigned flags = persistent ? SQLITE_PREPARE_PERSISTENT : 0;
    try {
        return prepareStatement(m_db.get(), utf8, flags);
    } catch (const AppError &) {
        if (!QByteArray(sqlite3_errmsg(m_db.get())).startsWith("no such table"))
            throw;
    }
    attachNewFiles();
    return prepareStatement(m_db.get(), utf8, flags);
}

Database::CachedStatement *Database::takeCached(const QString &sql)
{
    auto it = m_cache.find(sql);
    if (it == m_cache.end()) {
        SqliteStatement statement = prepare(sql, true);
        if (m_cache.size() >= cacheLimit)
            std::erase_if(m_cache, [](const auto &entry) { return !entry.second.inUse; });
        it = m_cache.emplace(sql, CachedStatement{std::move(statement), false}).first;
    }
    if (it->second.inUse)
        return nullptr;
    it->second.inUse = true;
    return &it->second;
}

bool Database::execute(const QString &script)
{
    return sqlite3_exec(m_db.get(), script.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

qint64 Database::lastInsertId() const { return sqlite3_last_insert_rowid(m_db.get()); }

int Database::changes() const { return sqlite3_changes(m_db.get()); }

bool Database::isReadOnly(const QString &schema) const
{
    return sqlite3_db_readonly(m_db.get(), schema.toUtf8().constData()) == 1;
}

Database::WaitLimit::WaitLimit(Database &db, int ms) : m_db(db) { sqlite3_busy_timeout(db.handle(), ms); }

Database::WaitLimit::~WaitLimit() { sqlite3_busy_timeout(m_db.handle(), busyWaitMs); }

void Database::attachNewFiles()
{
    const QDir dir(m_directory);
    const QStringList files =
        dir.entryList({QStringLiteral("*.db")}, QDir::Files | QDir::Hidden, QDir::Name);
    // These attachments only save work later: a file that another program holds is not waited
    // for here, or every wait would be paid twice; opening it as a table waits and reports.
    const WaitLimit noWait(*this, 0);
    for (const QString &file : files) {
        const QString path = dir.filePath(file);
        if (!m_schemaFile.key(QFileInfo(path).canonicalFilePath()).isEmpty())
            continue;
        // A file that is not a table file, or whose name another file already took, is left
        // out here; opening it as a table reports why to the user.
        try {
            attach(path, false);
        } catch (const AppError &error) {
            qWarning().noquote() << QStringLiteral("O arquivo %1 fica fora dos comandos até ser aberto como "
                                                   "tabela, porque não pôde ser anexado. Motivo: %2")
                                        .arg(path, error.text());
        }
    }
}

void Database::detachOneUnpinned()
{
    for (auto it = m_schemaFile.cbegin(); it != m_schemaFile.cend(); ++it) {
        if (m_pinned.contains(it.key()))
            continue;
        // No table cursor uses an unpinned file, so no cached statement needs it any more.
        const QString schema = it.key();
        Statement detach(*this, QStringLiteral("DETACH DATABASE ?1"));
        detach.bind(1, schema);
        detach.step();
        m_schemaFile.remove(schema);
        return;
    }
}

QString Database::attach(const QString &path, bool pin)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    const QString schema = info.completeBaseName().toLower();
    if (m_schemaFile.contains(schema)) {
        if (m_schemaFile.value(schema) != canonical)
            throw AppError(QStringLiteral("%1: outro arquivo de tabela já está em uso com o nome %2")
                               .arg(path, schema));
        if (pin)
            m_pinned.insert(schema);
        return schema;
    }
    if (m_schemaFile.size() >= sqlite3_limit(m_db.get(), SQLITE_LIMIT_ATTACHED, -1))
        detachOneUnpinned();

    // mode=rw opens the file for reading and writing but never creates it.
    const QByteArray uri = "file:" + QUrl::toPercentEncoding(canonical, "/") + "?mode=rw";
    {
        Statement attachStatement(*this, QStringLiteral("ATTACH DATABASE ?1 AS ?2"));
        attachStatement.bind(1, QString::fromUtf8(uri));
        attachStatement.bind(2, schema);
        try {
            attachStatement.step();
        } catch (const AppError &error) {
            throw AppError(QStringLiteral("%1: %2").arg(path, error.text()));
        }
    }
    m_schemaFile.insert(schema, canonical);
    if (pin)
        m_pinned.insert(schema);
    return schema;
}

QList<ColumnInfo> Database::columns(const QString &schema)
{
    QList<ColumnInfo> found;
    Statement info(*this, QStringLiteral("SELECT name, type FROM pragma_table_xinfo('db', ?1)"));
    info.bind(1, schema);
    while (info.step())
        found.append({info.value(0).toString(), info.value(1).toString()});
    return found;
}

std::optional<IndexInfo> Database::index(const QString &schema, const QString &name)
{
    IndexInfo index;
    {
        Statement find(*this, QStringLiteral("SELECT name, sql FROM %1.sqlite_master WHERE type = 'index' "
                                             "AND tbl_name = 'db' COLLATE NOCASE "
                                             "AND name = ?1 COLLATE NOCASE")
                                  .arg(quoted(schema)));
        find.bind(1, name);
        if (!find.step())
            return std::nullopt;
        index.name = find.value(0).toString();
        index.definition = find.value(1).toString().trimmed();
    }
    // The first key: a column (cid >= 0, with its name) or an expression (cid -2, no name).
    Statement key(*this, QStringLiteral("SELECT cid, name, coll FROM pragma_index_xinfo(?1, ?2) "
                                        "WHERE key = 1 ORDER BY seqno LIMIT 1"));
    key.bind(1, index.name);
    key.bind(2, schema);
    if (key.step()) {
        if (!key.value(1).isNull()) {
            index.column = key.value(1).toString();
            index.collation = key.value(2).toString();
        } else {
            index.expression = key.value(0).toLongLong() == -2;
        }
    }
    return index;
}
