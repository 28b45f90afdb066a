#pragma once
// Windows-1252 text, through iconv. The record file and the tables hold only characters of this
// single-byte set; these functions convert at that boundary.
#include <QByteArray>
#include <QString>

QByteArray toWin1252(const QString &text);   // characters outside the set become '?'
QString fromWin1252(const QByteArray &bytes); // every byte maps to a character
bool fitsWin1252(const QString &text);       // true when toWin1252 would lose nothing
QString keepWin1252(const QString &text);    // the text with every character outside the set removed
