#pragma once
// The search key of the text index on a server: ordering and finding texts without regard to the
// case of any Windows-1252 letter, as a folder's tables do (CaseFoldedKey.h).
#include <QString>

// On a server the key is the text with every capital of Windows-1252 made small, compared byte
// by byte (COLLATE "C"): the same order as caseFoldedKey(), since both are the small letters'
// UTF-8 bytes in order. It is the function perguntas.chave, which the server's set-up defines
// (ServerSetup.h) and the question table's text index IdPergunta is made on.
QString serverCaseFoldedKey(const QString &operand); // "perguntas".chave(operand)
// The body of that function: translate() of `operand` from every capital of Windows-1252 that
// has a small letter to that small letter.
QString serverCaseFoldExpression(const QString &operand);
// Whether `printedKey`, the first key of an index as the server prints it
// (pg_get_indexdef), is serverCaseFoldedKey() of `column`.
bool serverIndexesCaseFoldedKey(const QString &printedKey, const QString &column);
