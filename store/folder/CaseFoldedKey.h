#pragma once
// The search key of the text index: ordering and finding texts without regard to the case of
// any Windows-1252 letter.
#include <QString>
#include <QStringList>

class Database;

// The key by which a text index ignores case: an SQL expression over `operand` (a double-quoted
// column name, or a parameter such as "?1") that is equal for two texts exactly when they differ
// only in the case of their letters, every letter of Windows-1252 included, and orders as the
// texts in small letters do. It is built from SQLite's own deterministic functions only, so an
// index on it is read and kept up to date by any SQLite, the sqlite3 shell included.
// Question tables index Pergunta on caseFoldedKey("\"Pergunta\"") under the name IdPergunta.
QString caseFoldedKey(const QString &operand);

// Whether an index made by `definition` (its CREATE INDEX text) is the one on caseFoldedKey() of
// `column`.
bool indexesCaseFoldedKey(const QString &definition, const QString &column);

// Tables made by earlier versions of the set-up tool index Pergunta under NOCASE, which ignores
// the case of A-Z but not of À or Ç. Every such index of table db of `schema` (one of
// `textColumns` under NOCASE, neither unique nor partial) is replaced by the same-named index on
// caseFoldedKey() of the column. A file that cannot be changed now (read-only, or locked by
// another program) keeps its old index, and the log says so; the next opening tries again.
void replaceAsciiCaseIndexes(Database &db, const QString &schema, const QStringList &textColumns);
