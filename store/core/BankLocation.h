#pragma once
// Where the question bank is, as a setting or a command line names it: a data folder holding the
// table files, or a PostgreSQL server reached by a libpq connection string. It is only a name:
// openBank() (store/kinds/OpenBank.h) turns it into the bank, the one place that looks at its
// kind.
#include <QString>

class BankLocation {
public:
    enum class Kind { Folder, Server };

    // A folder path. Implicit, because a path is what every caller passed before there were
    // servers: a folder stays the plain case, and a server is always asked for by name.
    BankLocation(const QString &folder); // NOLINT(google-explicit-constructor)
    static BankLocation folder(const QString &path);
    // A libpq connection string ("host=lab dbname=jornada", "service=jornada", a postgresql://
    // URI); the empty string means libpq's own defaults (the PG* variables, ~/.pg_service.conf).
    static BankLocation server(const QString &connection);

    Kind kind() const { return m_kind; }
    // The folder's path, or the server's connection string.
    const QString &text() const { return m_text; }

    bool operator==(const BankLocation &) const = default;

private:
    BankLocation(Kind kind, const QString &text) : m_kind(kind), m_text(text) {}

    Kind m_kind;
    QString m_text;
};
