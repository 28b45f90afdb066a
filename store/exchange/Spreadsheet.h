#pragma once
// The first sheet of a workbook read as the records of a CSV file, so that the question import
// takes a spreadsheet as the teacher saved it: .xlsx (Office Open XML, as Excel writes it) or
// .ods (OpenDocument, as LibreOffice writes it). Both are zip files of XML documents.
#include "store/exchange/Csv.h"

#include <QString>

#include <functional>

// What reading a workbook may cost, whatever the file holds: a few kilobytes of zip can unpack to
// gigabytes, and a few bytes of .ods can stand for a million rows.
// Bytes unpacked from the zip, all the entries read together, counted as they come out (not as the
// zip says they will): as much as a CSV file of the import may hold.
constexpr qint64 MaxSpreadsheetBytes = qint64(64) << 20;
// Memory of the shared texts of an .xlsx, which are all kept until the sheet that uses them has
// been read (two bytes a character, eight more a text).
constexpr qint64 MaxSpreadsheetTextBytes = qint64(64) << 20;
// Bytes of one piece of XML (a text, a tag with its attributes): the XML reader keeps a piece
// whole until it ends, and no cell of a spreadsheet comes near this.
constexpr qint64 MaxSpreadsheetTokenBytes = qint64(4) << 20;
// Characters of all the records handed on together: the rows repeated in an .ods, or one long
// shared text named by every cell of an .xlsx, would otherwise hand on far more text than the
// file holds (a few bytes of .ods can stand for a million rows of a thousand long fields).
constexpr qint64 MaxSpreadsheetCharacters = 64'000'000;
// The last row whose cells are handed on: Excel's own maximum. The rows of an .ods written once
// and repeated count once for every repetition.
constexpr int MaxSpreadsheetRows = 1048576;
// Entries of the zip: each one read is looked for by name along the zip's directory. A workbook has a few
// dozen, or a few hundred with pictures.
constexpr int MaxSpreadsheetEntries = 65536;

// Reads the first worksheet of the workbook at `path`, handing each row that has text to
// `onRecord` as a CsvRecord: `line` is the row's number in the sheet (1 for the first), and the
// fields are the cells' texts from column A on, as the sheet shows them (an empty cell is an
// empty field; the empty cells after the last one with text are not fields). Fields are kept and
// cut as in Csv.h (MaxCsvFields, MaxCsvFieldBytes). Which kind the workbook is comes from what the
// zip holds, not from the file's name.
//
// What is returned has no records. Its `error` says what stopped the reading, and `errorLine` the
// row where it is, or 0 when it is in no row (a file that is not a workbook, a damaged zip, one
// that unpacks to more than MaxSpreadsheetBytes...); the records handed on before are complete.
// What `onRecord` throws passes through unchanged.
CsvText parseSpreadsheet(const QString &path, const std::function<void(const CsvRecord &)> &onRecord);
