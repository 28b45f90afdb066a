#pragma once
// The question table read straight through SQLite, on a connection of its own: the least work
// that the game's operations could do, which the measurements are set beside.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

class RawTable {
public:
    // Opens Perguntas.DB of `directory`, read-only.
    explicit RawTable(const QString &directory);
    ~RawTable();
    RawTable(const RawTable &) = delete;
    RawTable &operator=(const RawTable &) = delete;

    // Runs `sql` (prepared once) with `parameter` bound to ?1 when given, reads every column of
    // the first row as text, and returns column `column` of it (empty when there is no row).
    QString first(const char *sql, const QVariant &parameter = QVariant(), int column = 0);

private:
    sqlite3 *m_db = nullptr;
    QHash<QByteArray, sqlite3_stmt *> m_statements;
};
