#include "store/exchange/Spreadsheet.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QXmlStreamReader>

#include <minizip/unzip.h>

#include <algorithm>
#include <utility>

namespace {

// Unpacked bytes handed to the XML reader at a time.
constexpr qint64 ChunkBytes = 64 * 1024;
// Elements open at once: a sheet nests a few levels deep, and the XML reader keeps every open
// element, which 64 MB of "<a>" would make millions of.
constexpr int MaxXmlDepth = 256;
// A cell's text as gathered from the XML, before the OOXML escapes (seven characters for one) are
// decoded and the text is cut to MaxCsvFieldBytes: enough for any field, bounded whatever the
// cell holds.
constexpr qsizetype RawTextUnits = 7 * MaxCsvFieldBytes;
// Excel's last column, XFD.
constexpr int MaxXlsxColumns = 16384;

const QString OdsMimeType = QStringLiteral("application/vnd.oasis.opendocument.spreadsheet");
const QString TableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString TextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString DrawNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");

// What stops the reading: the teacher's message, and the row it is in (0 for none). Thrown only
// here and caught by parseSpreadsheet(), so that what the receiver of the records throws is never
// taken for it.
struct Fault {
    QString message;
    int line = 0;
};

enum class Kind { Xlsx, Ods };

Fault invalid(Kind kind, const QString &why, int line = 0)
{
    return {QStringLiteral("o arquivo não é uma planilha %1 válida: %2")
                .arg(kind == Kind::Xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".ods"), why),
            line};
}

Fault neither(const QString &why)
{
    return {QStringLiteral("o arquivo não é uma planilha .xlsx nem .ods: %1").arg(why)};
}

// Text gathered from the XML, kept to `cap` UTF-16 units; what comes after is dropped.
struct Gathered {
    explicit Gathered(qsizetype cap) : cap(cap) {}
    QString text;
    qsizetype cap;

    qsizetype room() const { return std::max<qsizetype>(0, cap - text.size()); }
    void add(QStringView s) { text.append(s.left(room())); }
    void add(QChar c, qint64 count = 1) { text.append(QString(qsizetype(std::clamp<qint64>(count, 0, room())), c)); }
};

// `text` cut to at most MaxCsvFieldBytes bytes of UTF-8, after a whole character. UTF-8 takes at
// least a byte for every UTF-16 unit, so a text gathered to MaxCsvFieldBytes units holds a field.
QString fieldText(QString text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype size = pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (bytes + size > MaxCsvFieldBytes) {
            text.truncate(i);
            break;
        }
        bytes += size;
        i += pair ? 1 : 0;
    }
    return text;
}

// OOXML strings write as _xHHHH_ the characters that XML cannot hold (a CR, control characters),
// and write _x005F_ for the underscore of a text that would otherwise read as such an escape.
QString decodeOoxmlEscapes(const QString &text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    const auto isHex = [](QChar c) { return c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f'); };
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'_' && i + 6 < text.size() && text.at(i + 1) == u'x' && text.at(i + 6) == u'_'
            && std::all_of(text.begin() + i + 2, text.begin() + i + 6, isHex)) {
            decoded += QChar(char16_t(QStringView(text).mid(i + 2, 4).toUInt(nullptr, 16)));
            i += 6;
        } else {
            decoded += text.at(i);
        }
    }
    return decoded;
}

// The zip of a workbook, through minizip: the zip library that libxlsxwriter, which writes the
// export's workbooks, is built on, so that one process holds one copy of it. One entry is open at
// a time.
class Zip {
public:
    explicit Zip(const QString &path) : m_zip(unzOpen64(QFile::encodeName(path).constData())) {}
    ~Zip()
    {
        if (m_zip)
            unzClose(m_zip);
    }
    Zip(const Zip &) = delete;
    Zip &operator=(const Zip &) = delete;

    bool isOpen() const { return m_zip != nullptr; }
    // The entries its directory lists; -1 when the directory cannot be read.
    qint64 entryCount() const
    {
        unz_global_info64 info {};
        return unzGetGlobalInfo64(m_zip, &info) == UNZ_OK ? qint64(info.number_entry) : -1;
    }
    enum class Found { Yes, No, Damaged };
    // Makes the entry `name`, whatever the case of its letters, the current one.
    Found locate(const QString &name) const
    {
        const int rc = unzLocateFile(m_zip, name.toUtf8().constData(), 2);
        return rc == UNZ_OK ? Found::Yes : rc == UNZ_END_OF_LIST_OF_FILE ? Found::No : Found::Damaged;
    }
    bool currentIsEncrypted() const
    {
        unz_file_info64 info {};
        return unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK && (info.flag & 1);
    }
    bool openCurrent() const { return unzOpenCurrentFile(m_zip) == UNZ_OK; }
    // Unpacks the next bytes of the current entry: how many, 0 at its end, negative on damage.
    qint64 read(char *data, qint64 size) const { return unzReadCurrentFile(m_zip, data, unsigned(size)); }
    // Its checksum is not looked at: damage shows up as data that does not unpack or as XML that
    // does not parse, and entries are seldom read to their ends.
    void closeCurrent() const { unzCloseCurrentFile(m_zip); }

private:
    unzFile m_zip;
};

// Opens the entry `name` of the zip (found whatever the case of its letters) for reading.
void openEntry(const Zip &zip, const QString &name, Kind kind)
{
    switch (zip.locate(name)) {
    case Zip::Found::Yes:
        break;
    case Zip::Found::No:
        throw invalid(kind, QStringLiteral("falta a parte %1").arg(name));
    case Zip::Found::Damaged:
        throw invalid(kind, QStringLiteral("o arquivo compactado está danificado"));
    }
    if (zip.currentIsEncrypted())
        throw Fault{QStringLiteral("a planilha está protegida por senha; abra-a, tire a senha e salve-a de novo")};
    if (!zip.openCurrent())
        throw invalid(kind, QStringLiteral("a parte %1 não se deixa descompactar (o arquivo está danificado, "
                                           "ou foi compactado de um jeito desconhecido)")
                                .arg(name));
}

// One entry of the zip read as XML, a chunk at a time. The bytes unpacked count against the budget
// of the whole workbook, and neither one piece of XML nor the nesting of elements may grow past
// their limits: the XML reader keeps both in memory. The CRC of the entry is not checked: a
// damaged entry shows up as data that does not unpack or as XML that does not parse, and the entries
// are seldom read to their ends.
class Entry {
public:
    Entry(const Zip &zip, const QString &name, Kind kind, qint64 &unpacked)
        : name(name), kind(kind), zip(zip), unpacked(unpacked)
    {
        openEntry(zip, name, kind);
    }
    ~Entry() { zip.closeCurrent(); }
    Entry(const Entry &) = delete;
    Entry &operator=(const Entry &) = delete;

    // Reads the next token; false at the end of the document.
    bool next()
    {
        for (;;) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndDocument)
                return false;
            if (token == QXmlStreamReader::DTD)
                throw invalid(kind, QStringLiteral("a parte %1 declara uma DTD, que uma planilha não tem").arg(name));
            if (token == QXmlStreamReader::StartElement && ++depth > MaxXmlDepth)
                throw invalid(kind, QStringLiteral("a parte %1 tem elementos uns dentro dos outros mais de %2 vezes")
                                        .arg(name).arg(MaxXmlDepth));
            if (token == QXmlStreamReader::EndElement)
                --depth;
            if (token != QXmlStreamReader::Invalid) {
                sinceToken = 0;
                return true;
            }
            if (xml.error() != QXmlStreamReader::PrematureEndOfDocumentError || ended)
                throw invalid(kind, QStringLiteral("o XML da parte %1 está malformado (linha %2, coluna %3)")
                                        .arg(name).arg(xml.lineNumber()).arg(xml.columnNumber()),
                              row);
            refill();
        }
    }

    bool isStart() const { return xml.isStartElement(); }
    bool isEnd() const { return xml.isEndElement(); }
    bool is(const QString &ns, QStringView local) const { return xml.namespaceUri() == ns && xml.name() == local; }
    QStringView attribute(const char *qualifiedName) const { return xml.attributes().value(QLatin1StringView(qualifiedName)); }
    QStringView attribute(const QString &ns, const char *local) const { return xml.attributes().value(ns, QLatin1StringView(local)); }

    // Reads the element just started to its end.
    void skip()
    {
        for (int open = 1; open > 0 && next();)
            open += isStart() ? 1 : isEnd() ? -1 : 0;
    }
    // The text of the element just started, whatever elements it holds, read to its end.
    void gatherText(Gathered &text)
    {
        for (int open = 1; open > 0 && next();) {
            if (isStart())
                ++open;
            else if (isEnd())
                --open;
            else if (xml.isCharacters())
                text.add(xml.text());
        }
    }
    // Calls `onChild` at the start of each child element of the element just started; `onChild`
    // reads the child to its end. Returns after the element's end.
    template <typename OnChild>
    void children(OnChild &&onChild)
    {
        while (next()) {
            if (isStart())
                onChild();
            else if (isEnd())
                return;
        }
    }

    const QString name;
    const Kind kind;
    QXmlStreamReader xml;
    int row = 0; // the row being read, named by malformed XML

private:
    void refill()
    {
        QByteArray chunk(ChunkBytes, Qt::Uninitialized);
        const qint64 size = zip.read(chunk.data(), ChunkBytes);
        if (size < 0)
            throw invalid(kind, QStringLiteral("a parte %1 está danificada").arg(name));
        if (size == 0) {
            ended = true;
            return;
        }
        unpacked += size;
        if (unpacked > MaxSpreadsheetBytes)
            throw Fault{QStringLiteral("a planilha descompactada passa de %1 MB; copie só as perguntas para uma "
                                       "planilha nova e importe-a")
                            .arg(MaxSpreadsheetBytes >> 20)};
        sinceToken += size;
        if (sinceToken > MaxSpreadsheetTokenBytes)
            throw invalid(kind, QStringLiteral("a parte %1 tem um trecho de XML de mais de %2 MB")
                                    .arg(name).arg(MaxSpreadsheetTokenBytes >> 20));
        chunk.truncate(qsizetype(size));
        xml.addData(chunk);
    }

    const Zip &zip;
    qint64 &unpacked;
    qint64 sinceToken = 0;
    int depth = 0;
    bool ended = false;
};

// Hands the rows on, checking that they stay in the sheet and within the text a workbook may hand.
struct Rows {
    const std::function<void(const CsvRecord &)> &onRecord;
    qint64 characters = 0;

    // `record` as rows `line`, `line` + 1... for `repeat` rows; a row without text is no record.
    void add(CsvRecord &record, qint64 line, qint64 repeat = 1)
    {
        if (record.fieldCount == 0)
            return;
        qint64 size = 0;
        for (const QString &field : std::as_const(record.fields))
            size += field.size();
        for (qint64 i = 0; i < repeat; ++i) {
            if (line + i > MaxSpreadsheetRows)
                throw Fault{QStringLiteral("a planilha tem texto depois da linha %1, a última que se lê")
                                .arg(MaxSpreadsheetRows)};
            characters += size;
            if (characters > MaxSpreadsheetCharacters)
                throw Fault{QStringLiteral("a planilha passa de %1 milhões de caracteres de texto, contando as "
                                           "linhas e os textos repetidos; copie só as perguntas para uma planilha nova "
                                           "e importe-a")
                                .arg(MaxSpreadsheetCharacters / 1000000)};
            record.line = int(line + i);
            onRecord(record);
        }
    }
};

// The fields of a row as its cells come, left to right: the columns skipped before a cell with
// text are empty fields, and the cells without text after the last one with text are no fields.
struct RowFields {
    CsvRecord record;

    // The cell of column `column` (1 for A), `repeat` times side by side.
    void add(qint64 column, const QString &text, qint64 repeat = 1)
    {
        if (text.isEmpty())
            return;
        const qint64 last = column + repeat - 1;
        while (record.fields.size() < std::min<qint64>(column - 1, MaxCsvFields))
            record.fields.append(QString());
        while (record.fields.size() < std::min<qint64>(last, MaxCsvFields))
            record.fields.append(text);
        record.fieldCount = last;
    }
};

// ---- .xlsx ----

// The shared strings of an .xlsx, which cells name by their index, in one block of text.
class SharedStrings {
public:
    qsizetype size() const { return ends.size(); }
    QString at(qsizetype i) const
    {
        const qsizetype start = i > 0 ? ends.at(i - 1) : 0;
        return text.mid(start, ends.at(i) - start);
    }
    void add(const QString &string)
    {
        if ((text.size() + string.size()) * 2 + (ends.size() + 1) * 8 > MaxSpreadsheetTextBytes)
            throw Fault{QStringLiteral("os textos da planilha passam de %1 MB; copie só as perguntas para uma "
                                       "planilha nova e importe-a")
                            .arg(MaxSpreadsheetTextBytes >> 20)};
        text += string;
        ends.append(text.size());
    }

private:
    QString text;
    QList<qsizetype> ends;
};

// The text of a shared string <si> or an inline string <is>, read to its end: its <t>, or the <t>
// of each of its runs <r>. The phonetic reading <rPh> of East Asian text is not shown in the cell.
void gatherRichText(Entry &entry, Gathered &text)
{
    for (int open = 1; open > 0 && entry.next();) {
        if (entry.isStart()) {
            if (entry.xml.name() == u"t")
                entry.gatherText(text);
            else if (entry.xml.name() == u"rPh" || entry.xml.name() == u"rPr")
                entry.skip();
            else
                ++open;
        } else if (entry.isEnd()) {
            --open;
        }
    }
}

QString columnName(qint64 column)
{
    QString name;
    for (; column > 0; column = (column - 1) / 26)
        name.prepend(QChar(char16_t(u'A' + (column - 1) % 26)));
    return name;
}

// The column of a cell reference such as "B3" (2), or 0 when it is none.
int columnOf(QStringView reference)
{
    int column = 0;
    qsizetype letters = 0;
    for (; letters < reference.size() && letters < 3 && reference.at(letters).isLetter(); ++letters) {
        const char16_t c = reference.at(letters).toUpper().unicode();
        if (c < u'A' || c > u'Z')
            return 0;
        column = column * 26 + (c - u'A' + 1);
    }
    const QStringView digits = reference.sliced(letters);
    if (letters == 0 || column > MaxXlsxColumns || digits.isEmpty()
        || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return 0;
    return column;
}

// The first sheet that workbook.xml lists: its relationship's id.
QString firstSheetId(Entry &entry)
{
    while (entry.next()) {
        if (entry.isStart() && entry.xml.name() == u"sheet") {
            for (const QXmlStreamAttribute &attribute : entry.xml.attributes())
                if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                    return attribute.value().toString();
            throw invalid(Kind::Xlsx, QStringLiteral("a primeira planilha de xl/workbook.xml não diz onde está"));
        }
    }
    throw invalid(Kind::Xlsx, QStringLiteral("a pasta de trabalho não tem nenhuma planilha"));
}

// A relationship's target as the name of an entry: relative to the folder of the entry that names
// it, or from the root of the zip when it starts with a slash.
QString targetEntry(const QString &folder, QStringView target)
{
    const QString path = QUrl::fromPercentEncoding(target.toUtf8());
    return QDir::cleanPath(path.startsWith(u'/') ? path.mid(1) : folder + u'/' + path);
}

// Where workbook.xml's relationships put the sheet `sheetId` and the shared strings.
struct WorkbookEntries {
    QString sheet, sharedStrings;
};

WorkbookEntries workbookEntries(Entry &entry, const QString &sheetId)
{
    WorkbookEntries entries;
    while (entry.next()) {
        if (!entry.isStart() || entry.xml.name() != u"Relationship" || entry.attribute("TargetMode") == u"External")
            continue;
        const QStringView type = entry.attribute("Type");
        if (entry.attribute("Id") == sheetId) {
            if (!type.endsWith(u"/worksheet"))
                throw Fault{QStringLiteral("a primeira folha da pasta de trabalho não é uma planilha de células "
                                           "(é um gráfico, talvez); ponha a planilha das perguntas em primeiro lugar")};
            entries.sheet = targetEntry(QStringLiteral("xl"), entry.attribute("Target"));
        } else if (type.endsWith(u"/sharedStrings")) {
            entries.sharedStrings = targetEntry(QStringLiteral("xl"), entry.attribute("Target"));
        }
    }
    if (entries.sheet.isEmpty())
        throw invalid(Kind::Xlsx, QStringLiteral("xl/_rels/workbook.xml.rels não diz onde está a primeira planilha"));
    return entries;
}

void readSharedStrings(Entry &entry, SharedStrings &strings)
{
    while (entry.next()) {
        if (entry.isStart() && entry.xml.name() == u"si") {
            Gathered text(RawTextUnits);
            gatherRichText(entry, text);
            strings.add(fieldText(decodeOoxmlEscapes(text.text)));
        }
    }
}

// A <c> element, read to its end: its text as the sheet shows it. A formula's cell holds the
// value it had when the workbook was saved.
QString readCell(Entry &entry, const SharedStrings &strings, qint64 column, qint64 row)
{
    const QString type = entry.attribute("t").toString();
    Gathered value(RawTextUnits), inlineText(RawTextUnits);
    bool hasInline = false;
    entry.children([&] {
        if (entry.xml.name() == u"v") {
            entry.gatherText(value);
        } else if (entry.xml.name() == u"is") {
            hasInline = true;
            gatherRichText(entry, inlineText);
        } else {
            entry.skip();
        }
    });
    if (hasInline)
        return fieldText(decodeOoxmlEscapes(inlineText.text));
    if (type == u"s") {
        if (value.text.isEmpty())
            return QString();
        bool ok = false;
        const qlonglong index = value.text.trimmed().toLongLong(&ok);
        if (!ok || index < 0 || index >= strings.size())
            throw invalid(Kind::Xlsx, QStringLiteral("a célula %1%2 aponta para um texto compartilhado que não existe (nº %3)")
                                          .arg(columnName(column)).arg(row).arg(value.text.left(20)),
                          entry.row);
        return strings.at(qsizetype(index));
    }
    if (type == u"str")
        return fieldText(decodeOoxmlEscapes(value.text));
    if (type == u"b" && (value.text == u"1" || value.text == u"0"))
        return value.text == u"1" ? QStringLiteral("VERDADEIRO") : QStringLiteral("FALSO");
    // Numbers as written, so that an Id of 12 comes back as "12"; errors as shown (#N/A).
    return fieldText(value.text);
}

void readXlsxSheet(Entry &entry, const SharedStrings &strings, Rows &rows)
{
    bool data = false;
    while (!data && entry.next())
        data = entry.isStart() && entry.xml.name() == u"sheetData";
    if (!data)
        return; // a sheet without cells
    qint64 previousRow = 0;
    entry.children([&] {
        if (entry.xml.name() != u"row")
            return entry.skip();
        qint64 row = previousRow + 1;
        if (const QStringView r = entry.attribute("r"); !r.isEmpty()) {
            bool ok = false;
            row = r.toLongLong(&ok);
            if (!ok)
                throw invalid(Kind::Xlsx, QStringLiteral("uma linha da planilha tem o número \"%1\"").arg(r.left(20).toString()));
            if (row <= previousRow)
                throw invalid(Kind::Xlsx, QStringLiteral("as linhas da planilha estão fora de ordem (a linha %1 vem depois "
                                                          "da %2)")
                                              .arg(row).arg(previousRow));
        }
        previousRow = row;
        entry.row = row <= MaxSpreadsheetRows ? int(row) : 0;
        RowFields fields;
        qint64 previousColumn = 0;
        entry.children([&] {
            if (entry.xml.name() != u"c")
                return entry.skip();
            qint64 column = previousColumn + 1;
            if (const QStringView r = entry.attribute("r"); !r.isEmpty()) {
                column = columnOf(r);
                if (column <= previousColumn)
                    throw invalid(Kind::Xlsx, QStringLiteral("a célula \"%1\" está fora de ordem ou não existe")
                                                  .arg(r.left(20).toString()),
                                  entry.row);
            } else if (column > MaxXlsxColumns) {
                throw invalid(Kind::Xlsx, QStringLiteral("a linha tem mais de %1 colunas").arg(MaxXlsxColumns), entry.row);
            }
            previousColumn = column;
            fields.add(column, readCell(entry, strings, column, row));
        });
        rows.add(fields.record, row);
        entry.row = 0;
    });
}

void readXlsx(const Zip &zip, qint64 &unpacked, Rows &rows)
{
    QString sheetId;
    {
        Entry entry(zip, QStringLiteral("xl/workbook.xml"), Kind::Xlsx, unpacked);
        sheetId = firstSheetId(entry);
    }
    WorkbookEntries entries;
    {
        Entry entry(zip, QStringLiteral("xl/_rels/workbook.xml.rels"), Kind::Xlsx, unpacked);
        entries = workbookEntries(entry, sheetId);
    }
    if (entries.sharedStrings.isEmpty() && zip.locate(QStringLiteral("xl/sharedStrings.xml")) == Zip::Found::Yes)
        entries.sharedStrings = QStringLiteral("xl/sharedStrings.xml");
    SharedStrings strings;
    if (!entries.sharedStrings.isEmpty()) {
        Entry entry(zip, entries.sharedStrings, Kind::Xlsx, unpacked);
        readSharedStrings(entry, strings);
    }
    Entry sheet(zip, entries.sheet, Kind::Xlsx, unpacked);
    readXlsxSheet(sheet, strings, rows);
}

// ---- .ods ----

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

// ---- the zip ----

// The first bytes of the entry `name`, unpacked only so far.
QByteArray entryStart(const Zip &zip, const QString &name, qint64 size, qint64 &unpacked)
{
    openEntry(zip, name, Kind::Ods);
    QByteArray bytes(size, Qt::Uninitialized);
    const qint64 got = zip.read(bytes.data(), size);
    zip.closeCurrent();
    bytes.truncate(qsizetype(std::max<qint64>(got, 0)));
    unpacked += bytes.size();
    return bytes;
}

// Which kind of workbook the zip holds, from its entries.
Kind kindOf(const Zip &zip, qint64 &unpacked)
{
    const Zip::Found workbook = zip.locate(QStringLiteral("xl/workbook.xml"));
    if (workbook == Zip::Found::Yes)
        return Kind::Xlsx;
    const Zip::Found content = workbook == Zip::Found::No ? zip.locate(QStringLiteral("content.xml")) : workbook;
    if (content == Zip::Found::Yes) {
        const QString type = QString::fromUtf8(entryStart(zip, QStringLiteral("mimetype"), 100, unpacked)).trimmed();
        if (type == OdsMimeType || type == OdsMimeType + QLatin1String("-template"))
            return Kind::Ods;
        throw neither(QStringLiteral("é um documento OpenDocument de outro tipo (%1)").arg(type.left(60)));
    }
    if (content == Zip::Found::Damaged)
        throw neither(QStringLiteral("o arquivo compactado está danificado"));
    throw neither(QStringLiteral("é um arquivo compactado (zip) sem xl/workbook.xml nem content.xml"));
}

} // namespace

CsvText parseSpreadsheet(const QString &path, const std::function<void(const CsvRecord &)> &onRecord)
{
    CsvText result;
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw Fault{QStringLiteral("não foi possível abrir o arquivo: %1").arg(file.errorString())};
        // An Excel file protected by a password is not a zip but an OLE compound file, as the old
        // .xls is.
        if (file.peek(8) == QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
            throw Fault{QStringLiteral("o arquivo é uma planilha do Excel antigo (.xls) ou protegida por senha; "
                                       "abra-a e salve-a como .xlsx, sem senha")};
        file.close();
        const Zip zip(path);
        if (!zip.isOpen() || zip.entryCount() < 0)
            throw neither(QStringLiteral("não é um arquivo compactado (zip), ou está danificado ou incompleto"));
        if (zip.entryCount() > MaxSpreadsheetEntries)
            throw neither(QStringLiteral("o arquivo compactado tem mais de %1 partes").arg(MaxSpreadsheetEntries));

        qint64 unpacked = 0;
        Rows rows{onRecord};
        if (kindOf(zip, unpacked) == Kind::Xlsx) {
            readXlsx(zip, unpacked, rows);
        } else {
            Entry content(zip, QStringLiteral("content.xml"), Kind::Ods, unpacked);
            readOdsContent(content, rows);
        }
    } catch (const Fault &fault) {
        result.error = fault.message;
        result.errorLine = fault.line;
    }
    return result;
}
