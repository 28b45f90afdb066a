#pragma once
// The engine of a data folder: each table file an SQLite database attached to the folder's one
// connection (Database.h), so that statements run exactly as written.
#include "store/tables/Engine.h"

class Database;

class SqliteEngine final : public Engine {
public:
    // The engine of `directory` (as the caller names it); throws AppError when it does not exist.
    explicit SqliteEngine(const QString &directory);
    ~SqliteEngine() override;

    std::unique_ptr<EngineStatement> statement(const QString &sql) override;
    std::unique_ptr<TableRows> openTable(const QString &fileName, const QList<FieldDef> &fields) override;
    std::optional<QVariantList> changeMark(const QString &fileName) override;

private:
    QString m_directory;
    std::shared_ptr<Database> m_db;
};
