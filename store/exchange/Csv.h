#pragma once
// CSV text as spreadsheets write it, read through libcsv: UTF-8 with or without a byte-order
// mark, or Windows-1252; comma or semicolon between fields; fields in double quotes, with quotes
// inside doubled and line breaks kept; lines ended by CR LF, LF or CR.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What one record keeps, whatever the text holds: a question needs a few short fields, and a
// record of millions of fields, or a field of megabytes, must not cost memory in proportion.
constexpr qsizetype MaxCsvFields = 1000;       // fields kept of one record; the rest are counted
constexpr qsizetype MaxCsvFieldBytes = 8192;   // bytes of one field decoded; the rest are dropped

struct CsvRecord {
    int line = 0; // the line of the text where the record starts, the first line being 1
    QStringList fields;       // the first MaxCsvFields fields, each cut to MaxCsvFieldBytes
    qsizetype fieldCount = 0; // the record's fields, kept or not
};

struct CsvText {
    QList<CsvRecord> records; // the header, when there is one, is the first
    char separator = ';';
    bool utf8 = true;
    // A fault that stopped the reading (a quote out of place, a quote never closed, a byte-order
    // mark before text that is not UTF-8), and the line where the record that holds it starts.
    // The records before it are complete.
    QString error;
    int errorLine = 0;
};

// Reads `bytes` as readCsv() does, handing each record to `onRecord` as soon as it is complete and
// keeping none: what it returns has no records. Memory stays that of one record, whatever the
// text's size.
CsvText parseCsv(QByteArrayView bytes, const std::function<void(const CsvRecord &)> &onRecord);

// Reads `bytes`. The text is UTF-8 when it is valid UTF-8 (a byte-order mark is skipped), and
// Windows-1252 otherwise. The separator is the one of ';' and ',' that appears more often
// outside quotes on the first line (';' when they are as many). Blank lines make no record.
// Unquoted fields lose the blanks and tabs around them; quoted fields keep everything between
// their quotes.
CsvText readCsv(const QByteArray &bytes);

// One record as a line of CSV text in UTF-8, ended by CR LF. A field is put in quotes, with its
// quotes doubled, when it holds the separator, a quote or a line break, or begins or ends with a
// blank or a tab, which a reader would otherwise drop (and when it would otherwise be read
// differently: the only, empty, field of a record, or a field starting with U+FEFF). The fields
// whose bit is set in `alwaysQuoted` (field 0 is bit 0) are quoted whatever they hold: a
// spreadsheet told to take quoted fields as text then never reads "1/2" as a date or "3,14" as a
// number.
QByteArray csvLine(const QStringList &fields, char separator, quint64 alwaysQuoted = 0);

// A spreadsheet runs a cell that begins with =, +, -, @, a tab or a CR as a formula
// (=HYPERLINK(...), say). csvFormulaGuarded() puts an apostrophe before such a text, as is usual
// against formulas in CSV files, and before a text that itself begins with one;
// csvFormulaUnguarded() takes exactly one leading apostrophe off, so that every text comes back
// as it was.
QString csvFormulaGuarded(const QString &text);
QString csvFormulaUnguarded(const QString &text);
