#pragma once
// libpq connection strings as the store shows and changes them.
#include <QString>

// The connection string `connection` as it may be shown: every setting it holds but the
// password, in libpq's own form. A string libpq cannot read is named as such, not shown.
QString printableConnection(const QString &connection);

// The connection string `connection` with the role `user` and its `password` in place of any it
// names (in libpq's key=value form, whatever form it was given in): the same server and database,
// reached as another role. Throws AppError for a connection string libpq cannot read.
QString connectionAs(const QString &connection, const QString &user, const QString &password);

// What a person is told a server is: "servidor PostgreSQL host=lab dbname=jornada", without its
// password.
QString serverDescription(const QString &connection);
