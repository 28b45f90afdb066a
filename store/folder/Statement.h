#pragma once
// One use of an SQL statement on a folder's SQLite connection: bind values, step through the
// rows, read their columns. This is the SQLite engine's one way to prepare and run a statement.
//
// A statement comes from the connection's cache, prepared on the first use of its text; when
// this use ends it is reset and its values cleared, so that no read stays open on the files.
// A use nested inside another use of the same text gets a statement of its own, finalised when
// the use ends.
#include "store/folder/Database.h"
#include "store/tables/Engine.h"

#include <QString>
#include <QVariant>

class Statement final : public EngineStatement {
public:
    // Throws AppError when the text cannot be prepared.
    Statement(Database &db, const QString &sql);
    // A statement of its own on `connection`, a connection to one table file (the set-up's),
    // which must outlive it.
    Statement(sqlite3 *connection, const QString &sql);
    ~Statement() override;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Parameters are numbered from 1. Null, double, integer, text and bytes are bound as such.
    void bind(int index, const QVariant &value) override;
    int parameterCount() const override;
    // The name of parameter `index` without its marker character (":NUMID" gives "NUMID");
    // empty for a bare "?".
    QString parameterName(int index) const override;

    // True when a row is available, false when the statement has run to its end. Throws
    // AppError on failure.
    bool step() override;
    // Columns are numbered from 0. SQL NULL is a null QVariant; numbers are qlonglong or double.
    QVariant value(int column) const override;
    int columnCount() const override;
    QString columnName(int column) const override;

    // Makes the statement ready to run again, with the values bound to it kept.
    void reset();
    // Whether running the statement leaves every file as it was.
    bool isReadOnly() const override;

private:
    sqlite3 *m_connection; // for the texts of its errors
    Database::CachedStatement *m_cached = nullptr;
    SqliteStatement m_own; // a nested use's statement
    sqlite3_stmt *m_statement = nullptr;
};
