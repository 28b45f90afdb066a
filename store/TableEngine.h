#pragma once
// Tables and statements over SQLite.
//
// Every table file of the data directory (Perguntas.DB, inicial.db) is an SQLite database that
// holds one table named `db`. All tables and statements of one directory share one connection,
// on which each table file is attached under its file stem in lower case, so that a statement
// such as "select count(p.id) as totalsql from perguntas.db p" runs exactly as written. Files are
// attached read-write but never created: a missing table file is an error.
//
// Every operation that fails throws AppError with a text for the user.
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <utility>

class AppError;
class Database;

// The start of the text of an error that another program holding a table file caused, beyond
// the short wait every operation allows it; the engine's own words follow in parentheses.
extern const QString TableInUseText;
// Whether `error` is such an error: trying again later may succeed.
bool isTableInUse(const AppError &error);

enum class FieldType { String, Number };

struct FieldDef {
    QString name;
    FieldType type;
    int size; // characters, for strings; 0 for numbers
};

// The layouts of the two tables, fields in their stored order.
const QList<FieldDef> &questionFields(); // Pergunta, Resp1..Resp4, Correta, Id, Foto
const QList<FieldDef> &accountFields();  // Login, Senha

// The key by which a text index ignores case: an SQL expression over `operand` (a double-quoted
// column name, or a parameter such as "?1") that is equal for two texts exactly when they differ
// only in the case of their letters, every letter of Windows-1252 included, and orders as the
// texts in small letters do. It is built from SQLite's own deterministic functions only, so an
// index on it is read and kept up to date by any SQLite, the sqlite3 shell included.
// Question tables index Pergunta on caseFoldedKey("\"Pergunta\"") under the name IdPergunta.
QString caseFoldedKey(const QString &operand);

// A cursor over one table file: a current record, a record buffer for editing, and moves in the
// order of the active index. Moves are index seeks, never scans.
class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    explicit Table(QObject *parent = nullptr);
    ~Table() override;

    // Opens `fileName` in `directory` and checks that it holds the given fields. With an
    // `orderField` ("Id") the records run in that field's order; without, in storage order.
    // The first record becomes current. An index that orders one of the text fields under NOCASE,
    // which ignores the case of A-Z only (as in tables made by earlier versions of the set-up
    // tool), is first replaced by the same-named index on caseFoldedKey() of that field; while
    // the file cannot be changed (read-only, or locked by another program) it is kept as it is.
    void open(const QString &directory, const QString &fileName, const QList<FieldDef> &fields,
              const QString &orderField = QString());
    bool isOpen() const;

    State state() const;
    bool hasRecord() const; // false on an empty table (and while inserting, until posted)
    bool isModified() const; // a field was set since edit() or append()

    // Field values of the current record, or of the record buffer while editing or inserting.
    // Names match without regard to case. A blank field reads as the empty text.
    QString fieldText(const QString &name) const;
    QVariant fieldValue(const QString &name) const; // null QVariant for a blank field
    int fieldSize(const QString &name) const;       // 0 for numbers
    FieldType fieldType(const QString &name) const;

    // Only while editing or inserting. Text longer than the field is cut to its size; the empty
    // text makes the field blank; a number field takes a decimal number.
    void setFieldText(const QString &name, const QString &text);

    void edit();   // on a table with no record, starts a new one (as append)
    void append(); // a new, blank record; it is not stored until post()
    void post();   // writes the record buffer; the record stays current
    void cancel(); // drops the changes or the new record
    void remove(); // deletes the current record; the next one (or else the prior) becomes current

    void first();
    void prior();
    void next();
    void last();
    bool atFirst() const; // no record before the current one
    bool atLast() const;  // no record after the current one
    // The text of field `name` of the record after (or before) the current one in the active
    // order, without moving; the empty text when there is none.
    QString neighbourText(bool after, const QString &name) const;

    // Makes a secondary index active, or orders by a field again ("id"). An index runs in the
    // order of its first field under its collation, or, for an index on caseFoldedKey() of a
    // field, in that key's order, ignoring the case of every letter. Changing the order
    // while editing or inserting first ends it: the record is posted if a field was changed,
    // otherwise the edit is cancelled. The current record stays current.
    void setIndexName(const QString &indexName);
    void setIndexFieldNames(const QString &fieldNames);
    // With a secondary index active, makes current the first record whose key is equal to or
    // after `key` in the index's order (the last record when none is).
    void findNearest(const QString &key);

signals:
    void recordChanged(); // the current record, or the buffer's contents, changed
    void stateChanged();  // browse, edit or insert

private:
    // Ends an edit or insert before a move or a change of order: the record is posted if a field
    // was changed, otherwise the edit is cancelled.
    void endEdit();

    struct Private;
    std::unique_ptr<Private> d;
};

// One SQL statement on the database of a directory. The statement is rebuilt before every use:
// close, clear the text, add its lines, set parameters, run, open, read columns of the first row.
class Query {
public:
    explicit Query(const QString &directory);
    ~Query();

    // The whole rebuild in one call: close, new text, the parameters (name without the colon),
    // run, and open a statement that reads. Returns the query standing on its first row, for
    // reading its columns. A statement that changes data runs once and is left closed.
    Query &run(const QStringList &lines, const QList<std::pair<QString, qint32>> &parameters = {});

    void close();
    void clear();                     // closes and empties the text
    void add(const QString &line);    // appends a line to the text
    QStringList text() const;
    void setParameter(const QString &name, qint32 value); // name without the colon: "NUMID"
    void execSql(); // runs the statement and keeps no rows (a read-only one is only checked)
    void open();    // runs it again and stands on the first row (if any)
    bool isOpen() const;
    bool isEmpty() const; // open, but no row

    // Columns of the current row, by name or alias, without regard to case. No row, or a blank
    // value, gives a null QVariant. Numbers come as double or qlonglong, texts as QString.
    QVariant value(const QString &column) const;
    // Conversions that a blank value cannot take:
    // "Could not convert variant of type (Null) into type (Integer)" / "... (String)".
    qint32 asInteger(const QString &column) const; // a number to its nearest integer
    QString asText(const QString &column) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
