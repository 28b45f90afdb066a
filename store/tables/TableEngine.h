#pragma once
// Tables and statements over a bank, wherever it is (Bank.h): a data folder or a PostgreSQL
// server. Callers name a table by its file name (Perguntas.DB, inicial.db) and write
// statements such as "select count(p.id) as totalsql from perguntas.db p", which run as written
// on either.
//
// On a folder, every table file is an SQLite database that holds one table named `db`. All tables
// and statements of one folder share one connection, on which each table file is attached under
// its file stem in lower case. Files are attached read-write but never created: a missing table
// file is an error. On a server, each table file is table db of a schema named after it.
//
// Every operation that fails throws AppError with a text for the user.
//
// The pieces: the field layouts (Fields.h), the cursor (Table.h), the statement object (Query.h)
// and the texts of errors that callers test for (TableErrors.h). Below them, the engine
// interface (Engine.h), which each kind of bank implements in its own room: SQLite in
// store/folder (SqliteEngine.h over Database.h and Statement.h), the server in store/server
// (ServerEngine.h over Libpq.h).
#include "store/tables/Fields.h"
#include "store/tables/Query.h"
#include "store/tables/Table.h"
#include "store/tables/TableErrors.h"
