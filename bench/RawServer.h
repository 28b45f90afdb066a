#pragma once
// The bank on a server read straight through libpq, on a connection of its own: the least work
// that the game's operations on a server could do, which the measurements are set beside.
#include "store/server/Libpq.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

class RawServer {
public:
    // Connects as `connection` says. Throws AppError.
    explicit RawServer(const QString &connection);

    // Runs `sql` (prepared once, $1 for `parameter` when given), reads every column of the first
    // row, and returns column `column` of it as text (empty when there is no row).
    QString first(const char *sql, const QVariant &parameter = QVariant(), int column = 0);
    // The same, the column in the server's binary form: bytes as they are stored.
    QByteArray firstBytes(const char *sql, const QVariant &parameter, int column = 0);

private:
    PgResult run(const char *sql, const QVariant &parameter, bool binary);

    PgConnection m_server;
    QHash<QByteArray, QByteArray> m_names; // statement text -> name of the prepared statement
};
