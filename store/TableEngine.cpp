#include "store/TableEngine.h"

#include "store/AppError.h"
#include "store/Win1252.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QSet>
#include <QUrl>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <sqlite3.h>

namespace {

// How long a statement waits for a file that another program (the sqlite3 shell, the set-up
// tool, a second copy of the game) holds for a moment. Every wait blocks the window that asked,
// so it is kept short: a program that holds the file longer gets a clear error instead.
constexpr int busyWaitMs = 2000;
// How long the replacing of an outdated index waits for a locked file before giving up.
constexpr int upgradeWaitMs = 200;

} // namespace

const QString TableInUseText =
    QStringLiteral("O banco de perguntas está em uso por outro programa; tente de novo.");

bool isTableInUse(const AppError &error)
{
    return error.text().contains(TableInUseText);
}

namespace {

QString quoted(const QString &identifier)
{
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\""))
        + QLatin1Char('"');
}

QString closedText() { return QStringLiteral("Cannot perform this operation on a closed dataset"); }
QString notEditingText() { return QStringLiteral("Dataset not in edit or insert mode"); }
QString emptyText() { return QStringLiteral("Cannot perform this operation on an empty dataset"); }
QString recordGoneText() { return QStringLiteral("Record not found or changed by another user"); }

// Whole numbers read without a fraction ("11", not "11.0"); others in their shortest exact form.
QString numberText(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString variantText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QString();
    case QMetaType::Double:
        return numberText(value.toDouble());
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

QString variantTypeName(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("Null");
    case QMetaType::Double:
        return QStringLiteral("Double");
    case QMetaType::LongLong:
        return QStringLiteral("Int64");
    case QMetaType::QByteArray:
        return QStringLiteral("Array Byte");
    default:
        return QStringLiteral("String");
    }
}

AppError conversionError(const QVariant &value, const QString &target)
{
    return AppError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                        .arg(variantTypeName(value), target));
}

QVariant columnValue(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement, column)));
    }
    default:
        return QVariant();
    }
}

int bindValue(sqlite3_stmt *statement, int index, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return sqlite3_bind_null(statement, index);
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::Int:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(statement, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                   SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        return sqlite3_bind_text64(statement, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

// Parses the text of a number field, as typed: a decimal number with a point.
double parseNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw AppError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

// The file in `directory` named `fileName`, matched exactly first and then without regard to
// case, as the table names of statements are; empty when there is none.
QString findTableFile(const QString &directory, const QString &fileName)
{
    const QDir dir(directory);
    if (QFileInfo(dir.filePath(fileName)).isFile())
        return dir.filePath(fileName);
    const QStringList candidates = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &candidate : candidates)
        if (candidate.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(candidate);
    return QString();
}

} // namespace

// One connection per data directory, shared by every table and statement on it. The main
// database is an empty in-memory one; each table file is attached under its lower-case stem.
class Database {
public:
    static std::shared_ptr<Database> forDirectory(const QString &directory);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    sqlite3 *handle() const { return m_db; }
    QString errorText() const
    {
        const QString engineText = QString::fromUtf8(sqlite3_errmsg(m_db));
        // Another program holds the file beyond the wait: say so, keeping the engine's words.
        const int code = sqlite3_extended_errcode(m_db) & 0xff;
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            return TableInUseText + QStringLiteral(" (") + engineText + QLatin1Char(')');
        return engineText;
    }

    // Attaches the existing file `path` (inside this directory) unless it is attached already,
    // and returns its schema name. A table opened on it keeps it attached ("pinned").
    QString attach(const QString &path, bool pin);
    // Attaches the table files that appeared in the directory since the connection was made.
    void attachNewFiles();

    // A prepared statement from the connection's cache; see Statement.
    sqlite3_stmt *cached(const QString &sql);

private:
    explicit Database(const QString &canonicalDirectory);
    void detachOneUnpinned();

    sqlite3 *m_db = nullptr;
    QString m_directory;
    QHash<QString, QString> m_schemaFile; // schema -> canonical path of its file
    QSet<QString> m_pinned;
    QHash<QString, sqlite3_stmt *> m_cache;
};

namespace {

// One use of a statement: binds, steps and, when it goes out of scope, resets it so that no read
// stays open on the files. Statements come from the connection's cache unless the cached one is
// in use (a nested use), in which case a private one is prepared and finalized.
class Statement {
public:
    Statement(Database &db, const QString &sql) : m_db(db)
    {
        m_statement = db.cached(sql);
        if (sqlite3_stmt_busy(m_statement)) {
            m_statement = nullptr;
            const QByteArray utf8 = sql.toUtf8();
            if (sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &m_statement,
                                   nullptr) != SQLITE_OK)
                throw AppError(db.errorText());
            m_owned = true;
        }
    }
    ~Statement()
    {
        if (m_owned) {
            sqlite3_finalize(m_statement);
        } else {
            sqlite3_reset(m_statement);
            sqlite3_clear_bindings(m_statement);
        }
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(int index, const QVariant &value)
    {
        if (bindValue(m_statement, index, value) != SQLITE_OK)
            throw AppError(m_db.errorText());
    }
    // True when a row is available, false when the statement has run to its end.
    bool step()
    {
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw AppError(m_db.errorText());
    }
    QVariant value(int column) const { return columnValue(m_statement, column); }

private:
    Database &m_db;
    sqlite3_stmt *m_statement = nullptr;
    bool m_owned = false;
};

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
        throw AppError(QStringLiteral("Directory does not exist: %1").arg(directory));
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

Database::Database(const QString &canonicalDirectory) : m_directory(canonicalDirectory)
{
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI,
                        nullptr)
        != SQLITE_OK) {
        const QString text = m_db ? errorText() : QStringLiteral("out of memory");
        sqlite3_close(m_db);
        m_db = nullptr;
        throw AppError(text);
    }
    sqlite3_busy_timeout(m_db, busyWaitMs);
    attachNewFiles();
}

Database::~Database()
{
    for (sqlite3_stmt *statement : std::as_const(m_cache))
        sqlite3_finalize(statement);
    sqlite3_close_v2(m_db);
}

sqlite3_stmt *Database::cached(const QString &sql)
{
    sqlite3_stmt *&slot = m_cache[sql];
    if (!slot) {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT,
                               &slot, nullptr)
            != SQLITE_OK) {
            const QString text = errorText();
            m_cache.remove(sql);
            throw AppError(text);
        }
    }
    return slot;
}

void Database::attachNewFiles()
{
    const QDir dir(m_directory);
    const QStringList files =
        dir.entryList({QStringLiteral("*.db")}, QDir::Files | QDir::Hidden, QDir::Name);
    // These attachments only save work later: a file that another program holds is not waited
    // for here, or every wait would be paid twice; opening it as a table waits and reports.
    sqlite3_busy_timeout(m_db, 0);
    const auto restoreWait = qScopeGuard([this] { sqlite3_busy_timeout(m_db, busyWaitMs); });
    for (const QString &file : files) {
        const QString path = dir.filePath(file);
        if (m_schemaFile.key(QFileInfo(path).canonicalFilePath()).isEmpty()) {
            // A file that is not a table file, or whose name another file already took, is left
            // out here; opening it as a table reports why.
            try {
                attach(path, false);
            } catch (const AppError &) {
            }
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
            throw AppError(QStringLiteral("%1: another table file is already in use under the name %2")
                               .arg(path, schema));
        if (pin)
            m_pinned.insert(schema);
        return schema;
    }
    if (m_schemaFile.size() >= sqlite3_limit(m_db, SQLITE_LIMIT_ATTACHED, -1))
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

// ---------------------------------------------------------------------------------------------

const QList<FieldDef> &questionFields()
{
    static const QList<FieldDef> fields = {
        {QStringLiteral("Pergunta"), FieldType::String, 240},
        {QStringLiteral("Resp1"), FieldType::String, 240},
        {QStringLiteral("Resp2"), FieldType::String, 240},
        {QStringLiteral("Resp3"), FieldType::String, 240},
        {QStringLiteral("Resp4"), FieldType::String, 240},
        {QStringLiteral("Correta"), FieldType::String, 240},
        {QStringLiteral("Id"), FieldType::Number, 0},
        {QStringLiteral("Foto"), FieldType::String, 255},
    };
    return fields;
}

const QList<FieldDef> &accountFields()
{
    static const QList<FieldDef> fields = {
        {QStringLiteral("Login"), FieldType::String, 10},
        {QStringLiteral("Senha"), FieldType::String, 7},
    };
    return fields;
}

// Texts are stored as UTF-8 and SQLite's lower() makes only A-Z small, so the other 34 capitals
// of Windows-1252 need work of their own. One replace() for each does not fit: SQLite's parser
// refuses calls nested that deep ("parser stack overflow"), in the shell too. So Š, Œ, Ž and Ÿ
// are replaced one by one, and the 30 capitals À-Þ (U+00C0-U+00DE but ×), each of them the byte
// C3 and a byte 80-9E that becomes A0-BE in its small letter, are made small together on the
// text's hex() form: "C38" becomes "C3A" and "C39" becomes "C3B". Every C3 is first marked with
// a byte FF, which UTF-8 never holds, so that only a real C3 and the byte after it match ("FFC3"
// cannot start mid-byte, as that would take a byte FC, which UTF-8 never holds either), and × and
// ß (C3 97, C3 9F), which have no other case, lose the mark before the rest are made small.
// The key is thus the hex form of the text in small letters: bytes in the same order as the text.
QString caseFoldedKey(const QString &operand)
{
    // The calls around the operand never change: they are written once, as the text before the
    // operand and the text after it.
    struct Around {
        QString before, after;
        void wrap(const QString &function, const QString &arguments = QString())
        {
            before.prepend(function + QLatin1Char('('));
            after += arguments + QLatin1Char(')');
        }
        void replace(const QString &from, const QString &to)
        {
            wrap(QStringLiteral("replace"), QStringLiteral(",'") + from + QStringLiteral("','") + to
                                                + QLatin1Char('\''));
        }
    };
    static const Around around = [] {
        Around key;
        for (const char16_t capital : {u'\u0160', u'\u0152', u'\u017D', u'\u0178'}) // Š Œ Ž Ÿ
            key.replace(QString(QChar(capital)), QString(QChar(capital).toLower()));
        key.wrap(QStringLiteral("lower"));
        key.wrap(QStringLiteral("replace"), QStringLiteral(",X'C3',X'FFC3'"));
        key.wrap(QStringLiteral("hex"));
        key.replace(QStringLiteral("FFC397"), QStringLiteral("C397")); // ×
        key.replace(QStringLiteral("FFC39F"), QStringLiteral("C39F")); // ß
        key.replace(QStringLiteral("FFC38"), QStringLiteral("C3A"));   // À-Ï
        key.replace(QStringLiteral("FFC39"), QStringLiteral("C3B"));   // Ð-Þ
        key.replace(QStringLiteral("FFC3"), QStringLiteral("C3"));     // the rest
        return key;
    }();
    return around.before + operand + around.after;
}

// ---------------------------------------------------------------------------------------------

namespace {

// One stored record as the cursor sees it: where it is (rowid, and its value of the ordering
// key) and the values of the declared fields.
struct Row {
    qint64 rowid = 0;
    QVariant key;
    QList<QVariant> values;
};

// The order in which the cursor runs. Records are ordered by one key column (with its
// collation) and then by rowid, so the order is total even where keys repeat or are blank;
// without a key column, by rowid alone. Blank keys sort first, as SQLite sorts NULL.
// With `folded`, the key is caseFoldedKey() of the column: the statements order and compare by
// exactly the expression of the index, which is what lets SQLite seek in it.
struct Order {
    QString column;    // actual column name; empty for storage order
    QString collation; // empty for the column's own
    QString indexName; // the secondary index that gave this order, if any
    bool numeric = false;
    bool folded = false;

    bool byKey() const { return !column.isEmpty(); }
    QString keyExpression() const
    {
        if (folded)
            return caseFoldedKey(quoted(column));
        QString expression = quoted(column);
        if (!collation.isEmpty())
            expression += QStringLiteral(" COLLATE ") + quoted(collation);
        return expression;
    }
    // The key of a searched value given as a parameter, to compare with keyExpression().
    QString searchKey(const QString &parameter) const
    {
        return folded ? caseFoldedKey(parameter) : parameter;
    }
};

enum class Seek { First, Last, Next, Prior, Nearest };

} // namespace

struct Table::Private {
    std::shared_ptr<Database> db;
    QString path;
    QString schema;
    QString from;      // "schema".db
    QString selection; // rowid, key, fields
    QList<FieldDef> fields;
    QStringList columns;                 // actual names of the declared fields, in their order
    QHash<QString, QString> tableColumns; // every column of the table: lower-case -> actual
    QHash<QString, QString> declaredTypes; // lower-case -> declared type
    Order order;
    QString key;       // the order's key expression
    QString soughtKey; // the key of a value sought, bound as ?1

    State state = State::Browse;
    std::optional<Row> current;
    QList<QVariant> buffer;
    QList<bool> changed;

    void requireOpen() const
    {
        if (!db)
            throw AppError(closedText());
    }

    int fieldIndex(const QString &name) const
    {
        requireOpen();
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        throw AppError(QStringLiteral("Field '%1' not found").arg(name));
    }

    void setOrder(const Order &newOrder)
    {
        order = newOrder;
        // The key is built once for the order: a case-folded one is a long expression.
        key = order.byKey() ? order.keyExpression() : QStringLiteral("rowid");
        soughtKey = order.searchKey(QStringLiteral("?1"));
        selection = QStringLiteral("rowid, ") + key;
        for (const QString &column : std::as_const(columns))
            selection += QStringLiteral(", ") + quoted(column);
    }

    Row readRow(Statement &statement) const
    {
        Row row;
        row.rowid = statement.value(0).toLongLong();
        row.key = statement.value(1);
        row.values.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            row.values.append(statement.value(i + 2));
        return row;
    }

    std::optional<Row> fetch(const QString &tail, const QList<QVariant> &parameters = {}) const
    {
        Statement statement(*db, QStringLiteral("SELECT %1 FROM %2 %3").arg(selection, from, tail));
        for (int i = 0; i < parameters.size(); ++i)
            statement.bind(i + 1, parameters[i]);
        if (!statement.step())
            return std::nullopt;
        return readRow(statement);
    }

    std::optional<Row> byRowid(qint64 rowid) const
    {
        return fetch(QStringLiteral("WHERE rowid = ?1"), {rowid});
    }

    // Every move is one index seek: the record just after or before a position (key, rowid) in
    // the active order, never an offset or a scan.
    std::optional<Row> seek(Seek how, const Row *from = nullptr, const QVariant &nearestKey = {}) const
    {
        if (!order.byKey()) {
            switch (how) {
            case Seek::First:
                return fetch(QStringLiteral("ORDER BY rowid LIMIT 1"));
            case Seek::Last:
                return fetch(QStringLiteral("ORDER BY rowid DESC LIMIT 1"));
            case Seek::Next:
                return fetch(QStringLiteral("WHERE rowid > ?1 ORDER BY rowid LIMIT 1"), {from->rowid});
            case Seek::Prior:
                return fetch(QStringLiteral("WHERE rowid < ?1 ORDER BY rowid DESC LIMIT 1"),
                             {from->rowid});
            case Seek::Nearest:
                throw AppError(QStringLiteral("No index currently active"));
            }
        }
        const QString &k = key;
        const QString up = QStringLiteral(" ORDER BY %1, rowid LIMIT 1").arg(k);
        const QString down = QStringLiteral(" ORDER BY %1 DESC, rowid DESC LIMIT 1").arg(k);
        switch (how) {
        case Seek::First:
            return fetch(up);
        case Seek::Last:
            return fetch(down);
        case Seek::Nearest:
            return fetch(QStringLiteral("WHERE %1 >= %2").arg(k, soughtKey) + up, {nearestKey});
        case Seek::Next:
            if (from->key.isNull()) {
                if (auto row = fetch(QStringLiteral("WHERE %1 IS NULL AND rowid > ?1 ORDER BY rowid LIMIT 1")
                                         .arg(k),
                                     {from->rowid}))
                    return row;
                return fetch(QStringLiteral("WHERE %1 IS NOT NULL").arg(k) + up);
            }
            // Two seeks rather than one row-value comparison, which SQLite cannot match with a
            // collated index: the rest of the current key's run, then the keys after it.
            if (auto row = fetch(QStringLiteral("WHERE %1 = ?1 AND rowid > ?2 ORDER BY rowid LIMIT 1").arg(k),
                                 {from->key, from->rowid}))
                return row;
            return fetch(QStringLiteral("WHERE %1 > ?1").arg(k) + up, {from->key});
        case Seek::Prior:
            if (from->key.isNull())
                return fetch(QStringLiteral("WHERE %1 IS NULL AND rowid < ?1 ORDER BY rowid DESC LIMIT 1")
                                 .arg(k),
                             {from->rowid});
            if (auto row = fetch(QStringLiteral("WHERE %1 = ?1 AND rowid < ?2 ORDER BY rowid DESC LIMIT 1")
                                     .arg(k),
                                 {from->key, from->rowid}))
                return row;
            if (auto row = fetch(QStringLiteral("WHERE %1 < ?1").arg(k) + down, {from->key}))
                return row;
            return fetch(QStringLiteral("WHERE %1 IS NULL ORDER BY rowid DESC LIMIT 1").arg(k));
        }
        return std::nullopt;
    }

    // Changes the order and keeps the current record current, with its key in the new order.
    void reorder(const Order &newOrder)
    {
        setOrder(newOrder);
        if (current) {
            const Row before = *current;
            current = byRowid(before.rowid);
            if (!current)
                current = seek(Seek::First);
        }
    }

    // The column of the table named `name`, without regard to case; empty when there is none.
    QString tableColumn(const QString &name) const { return tableColumns.value(name.toLower()); }

    // A declared field that holds text.
    bool isTextColumn(const QString &column) const
    {
        for (const FieldDef &field : fields)
            if (field.name.compare(column, Qt::CaseInsensitive) == 0)
                return field.type == FieldType::String;
        return false;
    }

    // Tables made by earlier versions of the set-up tool index Pergunta under NOCASE, which
    // ignores the case of A-Z but not of À or Ç. Every such index (one text field under NOCASE,
    // neither unique nor partial) is replaced by the same-named index on caseFoldedKey() of the
    // field, dropped and made again within one savepoint, so that the file holds either index
    // whole. A file that cannot be changed now (read-only, or locked by another program) keeps
    // the old index and the cursor its ASCII-only order: the table opens all the same, and the
    // next opening tries again. The wait for a lock is short here: a change that can wait is not
    // worth keeping the user waiting.
    void replaceAsciiCaseIndexes()
    {
        if (sqlite3_db_readonly(db->handle(), schema.toUtf8().constData()) == 1)
            return;
        QList<QPair<QString, QString>> outdated; // index, column
        {
            Statement indexes(*db, QStringLiteral("SELECT l.name, x.name FROM pragma_index_list('db', ?1) l "
                                                  "JOIN pragma_index_xinfo(l.name, ?1) x "
                                                  "WHERE l.\"unique\" = 0 AND l.partial = 0 AND x.key = 1 "
                                                  "GROUP BY l.name "
                                                  "HAVING count(*) = 1 AND max(x.coll) = 'NOCASE' COLLATE NOCASE"));
            indexes.bind(1, schema);
            while (indexes.step()) {
                const QString column = indexes.value(1).toString();
                if (!column.isEmpty() && isTextColumn(column))
                    outdated.append({indexes.value(0).toString(), tableColumn(column)});
            }
        }
        for (const auto &[index, column] : std::as_const(outdated)) {
            const QString name = quoted(schema) + QLatin1Char('.') + quoted(index);
            const QByteArray change = (QStringLiteral("SAVEPOINT case_index; DROP INDEX ") + name
                                       + QStringLiteral("; CREATE INDEX ") + name + QStringLiteral(" ON db(")
                                       + caseFoldedKey(quoted(column)) + QStringLiteral("); RELEASE case_index;"))
                                          .toUtf8();
            sqlite3_busy_timeout(db->handle(), upgradeWaitMs);
            if (sqlite3_exec(db->handle(), change.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
                sqlite3_exec(db->handle(), "ROLLBACK TO case_index; RELEASE case_index;", nullptr, nullptr, nullptr);
            sqlite3_busy_timeout(db->handle(), busyWaitMs);
        }
    }

    bool isNumericColumn(const QString &column) const
    {
        for (const FieldDef &field : fields)
            if (field.name.compare(column, Qt::CaseInsensitive) == 0)
                return field.type == FieldType::Number;
        const QString type = declaredTypes.value(column.toLower()).toUpper();
        return type.contains(QLatin1String("INT")) || type.contains(QLatin1String("REAL"))
            || type.contains(QLatin1String("FLOA")) || type.contains(QLatin1String("DOUB"))
            || type.contains(QLatin1String("NUM"));
    }
};

Table::Table(QObject *parent) : QObject(parent), d(std::make_unique<Private>()) {}

Table::~Table() = default;

void Table::open(const QString &directory, const QString &fileName, const QList<FieldDef> &fields,
                 const QString &orderField)
{
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        throw AppError(QStringLiteral("Directory does not exist: %1").arg(directory));
    const QString file = findTableFile(directory, fileName);
    if (file.isEmpty())
        throw AppError(QStringLiteral("Table does not exist: %1").arg(QDir(directory).filePath(fileName)));

    auto p = std::make_unique<Private>();
    p->db = Database::forDirectory(directory);
    p->path = file;
    p->fields = fields;
    const QString schema = p->db->attach(file, true);
    p->schema = schema;
    p->from = quoted(schema) + QStringLiteral(".db");

    {
        Statement info(*p->db, QStringLiteral("SELECT name, type FROM pragma_table_xinfo('db', ?1)"));
        info.bind(1, schema);
        while (info.step()) {
            const QString name = info.value(0).toString();
            p->tableColumns.insert(name.toLower(), name);
            p->declaredTypes.insert(name.toLower(), info.value(1).toString());
        }
    }
    if (p->tableColumns.isEmpty())
        throw AppError(QStringLiteral("Table db not found in file %1").arg(file));
    for (const FieldDef &field : fields) {
        const QString column = p->tableColumn(field.name);
        if (column.isEmpty())
            throw AppError(QStringLiteral("Field '%1' not found in table %2").arg(field.name, file));
        p->columns.append(column);
    }
    p->replaceAsciiCaseIndexes();

    Order order;
    if (!orderField.isEmpty()) {
        order.column = p->tableColumn(orderField);
        if (order.column.isEmpty())
            throw AppError(QStringLiteral("Field '%1' not found in table %2").arg(orderField, file));
        order.numeric = p->isNumericColumn(order.column);
    }
    p->setOrder(order);
    p->current = p->seek(Seek::First);

    const bool wasEditing = d->state != State::Browse;
    d = std::move(p);
    if (wasEditing)
        emit stateChanged();
    emit recordChanged();
}

bool Table::isOpen() const { return d->db != nullptr; }

Table::State Table::state() const { return d->state; }

bool Table::hasRecord() const { return d->state != State::Insert && d->current.has_value(); }

bool Table::isModified() const { return d->changed.contains(true); }

QVariant Table::fieldValue(const QString &name) const
{
    if (!d->db)
        return QVariant();
    const int i = d->fieldIndex(name);
    if (d->state != State::Browse)
        return d->buffer.value(i);
    return d->current ? d->current->values.value(i) : QVariant();
}

QString Table::fieldText(const QString &name) const { return variantText(fieldValue(name)); }

int Table::fieldSize(const QString &name) const { return d->fields[d->fieldIndex(name)].size; }

FieldType Table::fieldType(const QString &name) const { return d->fields[d->fieldIndex(name)].type; }

void Table::setFieldText(const QString &name, const QString &text)
{
    if (d->state == State::Browse)
        throw AppError(notEditingText());
    const int i = d->fieldIndex(name);
    const FieldDef &field = d->fields[i];
    QVariant value;
    if (field.type == FieldType::Number) {
        if (!text.trimmed().isEmpty())
            value = parseNumber(text);
    } else {
        // Tables hold Windows-1252 text only: other characters become what that set makes of them.
        const QString kept = fromWin1252(toWin1252(text.left(field.size)));
        if (!kept.isEmpty())
            value = kept;
    }
    d->changed[i] = true;
    if (d->buffer[i] != value || d->buffer[i].typeId() != value.typeId()) {
        d->buffer[i] = value;
        emit recordChanged();
    }
}

void Table::edit()
{
    d->requireOpen();
    if (d->state != State::Browse)
        return;
    if (!d->current) {
        append();
        return;
    }
    // Edit what is stored now, which another cursor on the same file may have changed.
    auto fresh = d->byRowid(d->current->rowid);
    if (!fresh)
        throw AppError(recordGoneText());
    d->current = fresh;
    d->buffer = fresh->values;
    d->changed = QList<bool>(d->fields.size(), false);
    d->state = State::Edit;
    emit stateChanged();
    emit recordChanged();
}

void Table::append()
{
    d->requireOpen();
    if (d->state != State::Browse) {
        if (isModified())
            post();
        else
            cancel();
    }
    d->buffer = QList<QVariant>(d->fields.size());
    d->changed = QList<bool>(d->fields.size(), false);
    d->state = State::Insert;
    emit stateChanged();
    emit recordChanged();
}

void Table::post()
{
    d->requireOpen();
    if (d->state == State::Browse)
        throw AppError(notEditingText());

    qint64 rowid = 0;
    if (d->state == State::Insert) {
        QStringList names, marks;
        for (int i = 0; i < d->columns.size(); ++i) {
            names.append(quoted(d->columns[i]));
            marks.append(QStringLiteral("?%1").arg(i + 1));
        }
        Statement insert(*d->db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(d->from, names.join(QStringLiteral(", ")),
                                          marks.join(QStringLiteral(", "))));
        for (int i = 0; i < d->buffer.size(); ++i)
            insert.bind(i + 1, d->buffer[i]);
        insert.step();
        rowid = sqlite3_last_insert_rowid(d->db->handle());
    } else {
        rowid = d->current->rowid;
        // Only the fields set during the edit are written, so that the record's other fields
        // keep whatever another cursor stored meanwhile.
        QStringList assignments;
        QList<QVariant> values;
        for (int i = 0; i < d->columns.size(); ++i) {
            if (d->changed[i]) {
                values.append(d->buffer[i]);
                assignments.append(QStringLiteral("%1 = ?%2").arg(quoted(d->columns[i])).arg(values.size()));
            }
        }
        if (!assignments.isEmpty()) {
            Statement update(*d->db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                                         .arg(d->from, assignments.join(QStringLiteral(", ")))
                                         .arg(values.size() + 1));
            for (int i = 0; i < values.size(); ++i)
                update.bind(i + 1, values[i]);
            update.bind(values.size() + 1, rowid);
            update.step();
            if (sqlite3_changes(d->db->handle()) == 0)
                throw AppError(recordGoneText());
        }
    }

    d->current = d->byRowid(rowid);
    d->buffer.clear();
    d->changed.clear();
    d->state = State::Browse;
    emit stateChanged();
    emit recordChanged();
}

void Table::cancel()
{
    if (!d->db || d->state == State::Browse)
        return;
    // Back to the record that was current (for an insert, the one before append), as stored now.
    if (d->current) {
        const Row before = *d->current;
        d->current = d->byRowid(before.rowid);
        if (!d->current)
            d->current = d->seek(Seek::Next, &before);
        if (!d->current)
            d->current = d->seek(Seek::Prior, &before);
    }
    d->buffer.clear();
    d->changed.clear();
    d->state = State::Browse;
    emit stateChanged();
    emit recordChanged();
}

void Table::remove()
{
    d->requireOpen();
    if (d->state == State::Insert) {
        // Deleting a record that was never stored is dropping it.
        cancel();
        return;
    }
    if (!d->current)
        throw AppError(emptyText());
    const Row gone = *d->current;
    {
        Statement remove(*d->db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(d->from));
        remove.bind(1, gone.rowid);
        remove.step();
    }
    d->current = d->seek(Seek::Next, &gone);
    if (!d->current)
        d->current = d->seek(Seek::Prior, &gone);
    const bool wasEditing = d->state != State::Browse;
    d->buffer.clear();
    d->changed.clear();
    d->state = State::Browse;
    if (wasEditing)
        emit stateChanged();
    emit recordChanged();
}

void Table::endEdit()
{
    if (d->state != State::Browse)
        isModified() ? post() : cancel();
}

// A move while editing or inserting first ends the edit, as a change of order does.
void Table::first()
{
    d->requireOpen();
    endEdit();
    d->current = d->seek(Seek::First);
    emit recordChanged();
}

void Table::last()
{
    d->requireOpen();
    endEdit();
    d->current = d->seek(Seek::Last);
    emit recordChanged();
}

void Table::next()
{
    d->requireOpen();
    endEdit();
    if (!d->current)
        return;
    if (auto row = d->seek(Seek::Next, &*d->current)) {
        d->current = row;
        emit recordChanged();
    }
}

void Table::prior()
{
    d->requireOpen();
    endEdit();
    if (!d->current)
        return;
    if (auto row = d->seek(Seek::Prior, &*d->current)) {
        d->current = row;
        emit recordChanged();
    }
}

bool Table::atFirst() const
{
    if (!d->db || !hasRecord())
        return true;
    return !d->seek(Seek::Prior, &*d->current);
}

bool Table::atLast() const
{
    if (!d->db || !hasRecord())
        return true;
    return !d->seek(Seek::Next, &*d->current);
}

QString Table::neighbourText(bool after, const QString &name) const
{
    if (!d->db || !hasRecord())
        return QString();
    const int field = d->fieldIndex(name);
    const auto row = d->seek(after ? Seek::Next : Seek::Prior, &*d->current);
    return row ? variantText(row->values.value(field)) : QString();
}

void Table::setIndexName(const QString &indexName)
{
    d->requireOpen();
    Order order;
    if (!indexName.isEmpty()) {
        QString name, definition;
        {
            Statement find(*d->db, QStringLiteral("SELECT name, sql FROM %1.sqlite_master WHERE type = 'index' "
                                                  "AND tbl_name = 'db' COLLATE NOCASE "
                                                  "AND name = ?1 COLLATE NOCASE")
                                       .arg(quoted(d->schema)));
            find.bind(1, indexName);
            if (!find.step())
                throw AppError(QStringLiteral("Index not found: %1").arg(indexName));
            name = find.value(0).toString();
            definition = find.value(1).toString().trimmed();
        }
        {
            // The order of the index is that of its first field, with the index's collation...
            Statement columns(*d->db, QStringLiteral("SELECT cid, name, coll FROM pragma_index_xinfo(?1, ?2) "
                                                     "WHERE key = 1 ORDER BY seqno LIMIT 1"));
            columns.bind(1, name);
            columns.bind(2, d->schema);
            if (!columns.step())
                throw AppError(QStringLiteral("Index %1 does not begin with a field").arg(indexName));
            if (!columns.value(1).isNull()) {
                order.column = d->tableColumn(columns.value(1).toString());
                order.collation = columns.value(2).toString();
            } else if (columns.value(0).toLongLong() == -2) {
                // ...or, for an index on the case-folded key of a field, that key's order.
                for (const QString &column : std::as_const(d->columns)) {
                    if (!d->isTextColumn(column) || !definition.contains(quoted(column)))
                        continue;
                    const QString key = QLatin1Char('(') + caseFoldedKey(quoted(column)) + QLatin1Char(')');
                    if (definition.endsWith(key)) {
                        order.column = column;
                        order.folded = true;
                    }
                }
            }
            if (order.column.isEmpty())
                throw AppError(QStringLiteral("Index %1 does not begin with a field").arg(indexName));
        }
        if (order.collation.compare(QLatin1String("BINARY"), Qt::CaseInsensitive) == 0)
            order.collation.clear();
        order.indexName = name;
        order.numeric = !order.folded && d->isNumericColumn(order.column);
    }
    endEdit();
    d->reorder(order);
    emit recordChanged();
}

void Table::setIndexFieldNames(const QString &fieldNames)
{
    d->requireOpen();
    Order order;
    const QString name = fieldNames.trimmed();
    if (!name.isEmpty()) {
        order.column = d->tableColumn(name);
        if (order.column.isEmpty())
            throw AppError(QStringLiteral("Field '%1' not found in table %2").arg(name, d->path));
        order.numeric = d->isNumericColumn(order.column);
    }
    endEdit();
    d->reorder(order);
    emit recordChanged();
}

void Table::findNearest(const QString &key)
{
    d->requireOpen();
    if (!d->order.byKey())
        throw AppError(QStringLiteral("No index currently active"));
    const QVariant value = d->order.numeric ? QVariant(parseNumber(key)) : QVariant(key);
    endEdit();
    d->current = d->seek(Seek::Nearest, nullptr, value);
    if (!d->current)
        d->current = d->seek(Seek::Last);
    emit recordChanged();
}

// ---------------------------------------------------------------------------------------------

struct Query::Private {
    QString directory;
    std::shared_ptr<Database> db;
    QStringList lines;
    QList<QPair<QString, qint32>> parameters;
    bool open = false;
    bool empty = true;
    QHash<QString, QVariant> row;
    // A read-only statement that execSql prepared and checked, kept for the open() that follows
    // it with the same text and parameters, so that it is not prepared twice.
    sqlite3_stmt *checked = nullptr;

    ~Private() { forgetChecked(); }

    void forgetChecked()
    {
        sqlite3_finalize(checked);
        checked = nullptr;
    }

    // Prepares the text on the directory's connection and binds every parameter by name.
    sqlite3_stmt *prepare()
    {
        if (!db)
            db = Database::forDirectory(directory);
        const QByteArray sql = lines.join(QLatin1Char('\n')).toUtf8();
        sqlite3_stmt *statement = nullptr;
        for (int attempt = 0;; ++attempt) {
            if (sqlite3_prepare_v2(db->handle(), sql.constData(), int(sql.size()), &statement, nullptr)
                == SQLITE_OK)
                break;
            const QString text = db->errorText();
            // A table file put into the directory after the connection was made.
            if (attempt == 0 && text.startsWith(QLatin1String("no such table"))) {
                db->attachNewFiles();
                continue;
            }
            throw AppError(text);
        }
        if (!statement) // an empty text
            throw AppError(QStringLiteral("No SQL statement"));

        try {
            QSet<int> bound;
            for (const auto &[name, value] : std::as_const(parameters)) {
                bool found = false;
                for (int i = 1; i <= sqlite3_bind_parameter_count(statement); ++i) {
                    const char *marker = sqlite3_bind_parameter_name(statement, i);
                    if (marker && QString::fromUtf8(marker + 1).compare(name, Qt::CaseInsensitive) == 0) {
                        sqlite3_bind_int64(statement, i, value);
                        bound.insert(i);
                        found = true;
                    }
                }
                if (!found)
                    throw AppError(QStringLiteral("Parameter '%1' not found").arg(name));
            }
            for (int i = 1; i <= sqlite3_bind_parameter_count(statement); ++i) {
                if (!bound.contains(i)) {
                    const char *marker = sqlite3_bind_parameter_name(statement, i);
                    throw AppError(QStringLiteral("No value for parameter '%1'")
                                       .arg(marker ? QString::fromUtf8(marker + 1) : QString::number(i)));
                }
            }
        } catch (...) {
            sqlite3_finalize(statement);
            throw;
        }
        return statement;
    }

    const QVariant &column(const QString &name) const
    {
        if (!open)
            throw AppError(closedText());
        const auto it = row.constFind(name.toLower());
        if (it == row.cend())
            throw AppError(QStringLiteral("Field '%1' not found").arg(name));
        return it.value();
    }
};

Query::Query(const QString &directory) : d(std::make_unique<Private>())
{
    d->directory = directory;
}

Query::~Query() = default;

Query &Query::run(const QStringList &lines, const QList<std::pair<QString, qint32>> &parameters)
{
    clear();
    for (const QString &line : lines)
        add(line);
    for (const auto &[name, value] : parameters)
        setParameter(name, value);
    execSql();
    // A statement that changes data has run: opening it would run it a second time.
    if (d->checked)
        open();
    return *this;
}

void Query::close()
{
    d->open = false;
    d->empty = true;
    d->row.clear();
}

void Query::clear()
{
    close();
    d->forgetChecked();
    d->lines.clear();
    d->parameters.clear();
}

void Query::add(const QString &line)
{
    close();
    d->forgetChecked();
    d->lines.append(line);
}

QStringList Query::text() const { return d->lines; }

void Query::setParameter(const QString &name, qint32 value)
{
    d->forgetChecked();
    for (auto &parameter : d->parameters) {
        if (parameter.first.compare(name, Qt::CaseInsensitive) == 0) {
            parameter.second = value;
            return;
        }
    }
    d->parameters.append({name, value});
}

void Query::execSql()
{
    close();
    d->forgetChecked();
    sqlite3_stmt *statement = d->prepare();
    // A statement that only reads has no effect to run for; its rows would be thrown away and
    // open() reads them afresh. Preparing it already reports a faulty text or a missing table.
    if (sqlite3_stmt_readonly(statement)) {
        d->checked = statement;
        return;
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    const QString text = rc == SQLITE_DONE ? QString() : d->db->errorText();
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        throw AppError(text);
}

void Query::open()
{
    close();
    sqlite3_stmt *statement = std::exchange(d->checked, nullptr);
    if (!statement)
        statement = d->prepare();
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        const QString text = d->db->errorText();
        sqlite3_finalize(statement);
        throw AppError(text);
    }
    // The first row is copied and the statement finished at once, so no read stays open.
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(statement, i)).toLower();
        if (d->row.contains(name))
            continue;
        d->row.insert(name, rc == SQLITE_ROW ? columnValue(statement, i) : QVariant());
    }
    sqlite3_finalize(statement);
    d->open = true;
    d->empty = rc != SQLITE_ROW;
}

bool Query::isOpen() const { return d->open; }

bool Query::isEmpty() const { return d->empty; }

QVariant Query::value(const QString &column) const { return d->column(column); }

qint32 Query::asInteger(const QString &column) const
{
    const QVariant &value = d->column(column);
    qint64 whole = 0;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        throw conversionError(value, QStringLiteral("Integer"));
    case QMetaType::LongLong:
        whole = value.toLongLong();
        break;
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (!std::isfinite(number) || std::fabs(number) > 4e9)
            throw conversionError(value, QStringLiteral("Integer"));
        whole = qRound64(number);
        break;
    }
    default: {
        bool ok = false;
        whole = variantText(value).trimmed().toLongLong(&ok);
        if (!ok)
            throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(variantText(value)));
    }
    }
    if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
        throw conversionError(value, QStringLiteral("Integer"));
    return qint32(whole);
}

QString Query::asText(const QString &column) const
{
    const QVariant &value = d->column(column);
    if (value.isNull())
        throw conversionError(value, QStringLiteral("String"));
    return variantText(value);
}
