#pragma once
// Tables and statements over SQLite.
//
// Every table file of the data directory (Perguntas.DB, inicial.db) is an SQLite database that
// holds one table named `db`. All tables and statements of one directory share one connection,
// on which each table file is attached under its file stem in lower case, so that a statement
// such as "select count(p.id) as totalsql from perguntas.db p" runs exactly as written. Files are
// attached read-write but never created: a missing table file is an error.
//
// Every operation that fails throws AppError with a text for the user.
//
// The pieces: the field layouts (Fields.h), the search key of the text index (CaseFoldedKey.h),
// the cursor (Table.h), the statement object (Query.h) and the texts of errors that callers
// test for (TableErrors.h). Below them, and known to them alone, the connection (Database.h) and
// the one way to prepare and run a statement (Statement.h).
#include "store/CaseFoldedKey.h"
#include "store/Fields.h"
#include "store/Query.h"
#include "store/Table.h"
#include "store/TableErrors.h"
