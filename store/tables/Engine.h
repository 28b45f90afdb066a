#pragma once
// The engine that holds a bank, as the cursor (Table) and the statement object (Query) use it.
// Two engines implement it: SQLite over the table files of a data folder (SqliteEngine) and
// PostgreSQL over libpq (ServerEngine). The cursor and the statement object keep every rule
// that callers see (states, field sizes, conversions, error texts of their own) and ask the
// engine only to run statements and to find and write rows, so both engines behave alike.
#include "store/tables/Fields.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class TableRows;

// One use of one statement text: bind values, step through the rows, read their columns.
class EngineStatement {
public:
    virtual ~EngineStatement() = default;

    // Parameters are numbered from 1; a named one (":NUMID") is named without its marker.
    virtual int parameterCount() const = 0;
    virtual QString parameterName(int index) const = 0; // empty for an unnamed one
    // Null, double, integer, text and bytes are bound as such.
    virtual void bind(int index, const QVariant &value) = 0;

    // Whether the statement is one that reads: it gives rows and is run for them (by open()),
    // where any other statement is run once for its effect (by execSql()).
    virtual bool isReadOnly() const = 0;

    // True when a row is available, false when the statement has run to its end. Throws
    // AppError on failure.
    virtual bool step() = 0;
    // Columns are numbered from 0. SQL NULL is a null QVariant; numbers are qlonglong or double,
    // texts QString, bytes QByteArray.
    virtual QVariant value(int column) const = 0;
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
};

class Engine {
public:
    virtual ~Engine() = default;

    // A use of the statement `sql`, which names tables as "perguntas.db" (the table file's stem
    // in lower case, then "db") and parameters as ":NAME". Throws AppError when the engine
    // refuses the text.
    virtual std::unique_ptr<EngineStatement> statement(const QString &sql) = 0;

    // The rows of table `fileName` ("Perguntas.DB", matched without regard to case), with the
    // columns of `fields`. Throws AppError when the table or one of the fields is missing.
    virtual std::unique_ptr<TableRows> openTable(const QString &fileName, const QList<FieldDef> &fields) = 0;

    // A value that is different after any change to table `fileName`, by this program or any
    // other; nothing when the engine cannot tell now, and what was read must be read again.
    virtual std::optional<QVariantList> changeMark(const QString &fileName) = 0;
};

// Whatever reaches an engine: a bank, for the cursor and the statement object. The kinds of bank
// live above this room, so the tables know them only through this.
class EngineSource {
public:
    virtual ~EngineSource() = default;
    // The engine that holds the bank, shared by every table and statement on it while one of
    // them holds it. Throws AppError when the folder does not exist or the server cannot be
    // reached.
    virtual std::shared_ptr<Engine> engine() const = 0;
};

// The name under which statements reach table file `fileName`: its stem in lower case
// ("Perguntas.DB" is "perguntas").
QString tableSchemaName(const QString &fileName);
