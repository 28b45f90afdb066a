#pragma once
// The SQLite engine's connection: one per data directory, shared by every table and statement on
// it. The main database is an empty in-memory one; each table file of the directory is attached
// under its file stem in lower case, so that "perguntas.db" in a statement is the schema
// "perguntas", table "db". Files are attached read-write but never created.
//
// Everything that knows a folder's engine is SQLite lives here, in Statement, and in the engine
// and table rows built on them (SqliteEngine, SqliteTable); the cursor and the statement object
// above ask the engine (Engine.h).
#include "store/tables/Fields.h"
#include "store/folder/Sqlite.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <unordered_map>

// A secondary index of a table, as far as a cursor's order needs it.
struct IndexInfo {
    QString name;            // as the file spells it
    QString definition;      // its CREATE INDEX text
    QString column;          // the column its first key is, if that key is a column
    QString collation;       // of that column
    bool expression = false; // the first key is an expression over the columns
};

class Database {
public:
    // The connection of `directory`, made on first use; throws AppError when the directory does
    // not exist.
    static std::shared_ptr<Database> forDirectory(const QString &directory);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // The connection itself, for the statements on it.
    sqlite3 *connection() const { return m_db.get(); }
    // The last error on the connection, for the user (see sqliteErrorText).
    QString errorText() const;

    // Attaches the existing file `path` (inside this directory) unless it is attached already,
    // and returns its schema name. A table opened on it keeps it attached ("pinned").
    QString attach(const QString &path, bool pin);
    // Attaches the table files that appeared in the directory since the connection was made.
    // A file that cannot be attached is left out, and the log says why.
    void attachNewFiles();

    // Prepares `sql`. A text that names a table file put into the directory after the
    // connection was made finds it: on "no such table" the new files are attached and the text
    // prepared once more.
    SqliteStatement prepare(const QString &sql, bool persistent = false);

    // The statements prepared once and used again, by their text: see Statement.
    struct CachedStatement {
        SqliteStatement statement;
        bool inUse = false;
    };
    // The cached statement of `sql`, prepared on its first use, marked in use until its user
    // clears the mark. Null when a user has it already (a nested use of the same text).
    CachedStatement *takeCached(const QString &sql);

    // Runs the statements of `script` one after the other; false when one fails, with the error
    // left for errorText().
    bool execute(const QString &script);
    qint64 lastInsertId() const;
    int changes() const; // rows that the last insert, update or delete changed
    bool isReadOnly(const QString &schema) const;

    // The columns of table db of `schema`, in their order; empty when the file holds no table db.
    QList<ColumnInfo> columns(const QString &schema);
    // The index of table db of `schema` named `name` without regard to case, if there is one.
    std::optional<IndexInfo> index(const QString &schema, const QString &name);

    // While one of these lives, the connection waits at most `ms` for a file that another
    // program holds, instead of its usual wait.
    class WaitLimit {
    public:
        WaitLimit(Database &db, int ms);
        ~WaitLimit();
        WaitLimit(const WaitLimit &) = delete;
        WaitLimit &operator=(const WaitLimit &) = delete;

    private:
        Database &m_db;
    };

private:
    explicit Database(const QString &canonicalDirectory);
    sqlite3 *handle() const { return m_db.get(); }
    void detachOneUnpinned();

    // Declared before the statements, so that it is closed after them.
    SqliteConnection m_db;
    QString m_directory;
    QHash<QString, QString> m_schemaFile; // schema -> canonical path of its file
    QSet<QString> m_pinned;
    // Nodes keep their place: a statement in use keeps its entry while others come and go.
    std::unordered_map<QString, CachedStatement> m_cache;
};
