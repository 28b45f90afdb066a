#pragma once
// Where the question bank is: a data folder holding the table files, or a PostgreSQL server
// reached by a libpq connection string. Every table, statement and set-up step of store/ takes
// one of these; only store/ looks inside it to choose the engine.
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
    bool isServer() const { return m_kind == Kind::Server; }
    // The folder's path; empty for a server.
    QString folderPath() const { return isServer() ? QString() : m_text; }
    // The connection string; empty for a folder.
    QString connection() const { return isServer() ? m_text : QString(); }

    // What a person is told the bank is: "pasta /home/ana/BDPerguntas", or "servidor PostgreSQL
    // host=lab dbname=jornada". A server's password never appears in it.
    QString description() const;

    bool operator==(const BankLocation &) const = default;

private:
    BankLocation(Kind kind, const QString &text) : m_kind(kind), m_text(text) {}

    Kind m_kind;
    QString m_text;
};

// The connection string `connection` as it may be shown: every setting it holds but the
// password, in libpq's own form. A string libpq cannot read is named as such, not shown.
QString printableConnection(const QString &connection);

// The connection string `connection` with the role `user` and its `password` in place of any it
// names (in libpq's key=value form, whatever form it was given in): the same server and database,
// reached as another role. Throws AppError for a connection string libpq cannot read.
QString connectionAs(const QString &connection, const QString &user, const QString &password);
