#pragma once
// A connection of its own to one table file, as the sqlite3 shell or another program makes it.
#include <QString>
#include <QStringList>

struct sqlite3;

// Nothing of the game's is registered on it, no function and no collation. Holding a write
// ("BEGIN EXCLUSIVE") on it keeps the game out of the file, as a second program would.
class PlainFile {
public:
    explicit PlainFile(const QString &path);
    ~PlainFile();
    PlainFile(const PlainFile &) = delete;
    PlainFile &operator=(const PlainFile &) = delete;

    // Runs one statement with `parameters` bound as texts; the given column of every row, or
    // "error: <message>".
    QStringList rows(const QString &sql, const QStringList &parameters = {}, int column = 0);
    // Runs statements that return no rows; the error text, or empty.
    QString exec(const QString &sql);

private:
    sqlite3 *m_db = nullptr;
};
