#include "store/exchange/OdsSheet.h"

#include "store/exchange/Spreadsheet.h"

namespace workbook {

namespace {

const QString TableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString TextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString DrawNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");

// A table:number-rows-repeated or table:number-columns-repeated: 1 when absent or wrong. A
// hostile count is bounded so that sums of counts cannot overflow.
qint64 repetitions(QStringView count)
{
    bool ok = false;
    const qint64 n = count.toLongLong(&ok);
    return ok && n > 1 ? std::min<qint64>(n, qint64(1) << 31) : 1;
}

// A paragraph <text:p> or heading <text:h> of a cell, read to its end. As in any OpenDocument
// text, a run of blanks and line ends in the XML is one space, and none at the paragraph's start;
// the other spaces that count are written <text:s text:c="N"/>. A run at the paragraph's end is
// one space, as LibreOffice writes a cell's last blank and reads it back. Notes, comments and drawings anchored
// in the text are not what the cell shows.
void gatherParagraph(Entry &entry, Gathered &text)
{
    bool blank = false, start = true;
    const auto flush = [&] {
        if (blank && !start)
            text.add(u' ');
        blank = false;
        start = false;
    };
    for (int open = 1; open > 0 && entry.next();) {
        if (entry.isEnd()) {
            --open;
        } else if (entry.xml.isCharacters()) {
            for (const QChar c : entry.xml.text()) {
                if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
                    blank = true;
                } else {
                    flush();
                    text.add(c);
                }
            }
        } else if (!entry.isStart()) {
        } else if (entry.is(TextNs, u"s")) {
            flush();
            const QStringView count = entry.attribute(TextNs, "c");
            text.add(u' ', count.isEmpty() ? 1 : count.toLongLong());
            entry.skip();
        } else if (entry.is(TextNs, u"tab") || entry.is(TextNs, u"line-break")) {
            flush();
            text.add(entry.xml.name() == u"tab" ? u'\t' : u'\n');
            entry.skip();
        } else if (entry.is(OfficeNs, u"annotation") || entry.is(TextNs, u"note") || entry.xml.namespaceUri() == DrawNs) {
            entry.skip();
        } else {
            ++open; // a span, a link, a field: their text is the paragraph's
        }
    }
    if (blank && !start)
        text.add(u' ');
}

// A <table:table-cell> or <table:covered-table-cell>, read to its end: its paragraphs, one a line.
// A cell whose paragraphs are empty shows its value.
QString readOdsCell(Entry &entry)
{
    const QStringView type = entry.attribute(OfficeNs, "value-type");
    const QString value = (type == u"float" || type == u"percentage" || type == u"currency")
        ? entry.attribute(OfficeNs, "value").toString()
        : type == u"date"    ? entry.attribute(OfficeNs, "date-value").toString()
        : type == u"time"    ? entry.attribute(OfficeNs, "time-value").toString()
        : type == u"boolean" ? entry.attribute(OfficeNs, "boolean-value").toString()
        : type == u"string"  ? entry.attribute(OfficeNs, "string-value").toString()
                             : QString();
    Gathered text(MaxCsvFieldBytes);
    bool first = true;
    entry.children([&] {
        if (entry.is(TextNs, u"p") || entry.is(TextNs, u"h")) {
            if (!first)
                text.add(u'\n');
            first = false;
            gatherParagraph(entry, text);
        } else {
            entry.skip();
        }
    });
    return fieldText(text.text.isEmpty() ? value.left(MaxCsvFieldBytes) : text.text);
}

// A <table:table-row>, read to its end; returns how many rows it stands for. Empty cells and rows,
// however many times repeated, are counted and never spelled out.
qint64 readOdsRow(Entry &entry, qint64 line, Rows &rows)
{
    const qint64 repeat = repetitions(entry.attribute(TableNs, "number-rows-repeated"));
    entry.row = line <= MaxSpreadsheetRows ? int(line) : 0;
    RowFields fields;
    qint64 column = 1;
    entry.children([&] {
        if (!entry.is(TableNs, u"table-cell") && !entry.is(TableNs, u"covered-table-cell"))
            return entry.skip();
        const qint64 count = repetitions(entry.attribute(TableNs, "number-columns-repeated"));
        fields.add(column, readOdsCell(entry), count);
        column += count;
    });
    rows.add(fields.record, line, repeat);
    entry.row = 0;
    return repeat;
}

void readOdsContent(Entry &entry, Rows &rows)
{
    bool table = false;
    while (!table && entry.next())
        table = entry.isStart() && entry.is(TableNs, u"table");
    if (!table)
        throw invalid(Kind::Ods, QStringLiteral("a pasta de trabalho não tem nenhuma planilha"));
    // Rows may sit in groups (of header rows, of rows folded together), nested at will.
    qint64 line = 1;
    for (int open = 1; open > 0 && entry.next();) {
        if (entry.isEnd())
            --open;
        else if (!entry.isStart())
            continue;
        else if (entry.is(TableNs, u"table-row"))
            line += readOdsRow(entry, line, rows);
        else if (entry.is(TableNs, u"table-row-group") || entry.is(TableNs, u"table-header-rows")
                 || entry.is(TableNs, u"table-rows"))
            ++open;
        else
            entry.skip();
    }
}

} // namespace

void readOds(const Zip &zip, qint64 &unpacked, Rows &rows)
{
    Entry content(zip, QStringLiteral("content.xml"), Kind::Ods, unpacked);
    readOdsContent(content, rows);
}

} // namespace workbook
