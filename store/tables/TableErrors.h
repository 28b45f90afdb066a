#pragma once
// Texts of the table engine's errors.
#include <QString>

class AppError;

// The start of the text of an error that another program holding a table file caused, beyond
// the short wait every operation allows it; the engine's own words follow in parentheses.
extern const QString TableInUseText;
// Whether `error` is such an error: trying again later may succeed.
bool isTableInUse(const AppError &error);

// The start of the text of an error of a server that refused the statement to the role the
// connection is made as: another role (the administrator's) may.
extern const QString NoPermissionText;
bool isNoPermission(const AppError &error);

// Texts that the cursor and the statement object share.
namespace tableText {
QString closed();       // an operation on a table or statement that is not open
QString notEditing();   // a change outside edit or insert
QString empty();        // an operation that needs a record, on a table without one
QString recordGone();   // the record edited was deleted or changed meanwhile
QString noIndex();      // a search without an index or field order
QString fieldNotFound(const QString &name);
} // namespace tableText
