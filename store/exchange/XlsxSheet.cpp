#include "store/exchange/XlsxSheet.h"

#include "store/exchange/Spreadsheet.h"

#include <QDir>
#include <QUrl>

namespace workbook {

namespace {

// A cell's text as gathered from the XML, before the OOXML escapes (seven characters for one) are
// decoded and the text is cut to MaxCsvFieldBytes: enough for any field, bounded whatever the
// cell holds.
constexpr qsizetype RawTextUnits = 7 * MaxCsvFieldBytes;
// Excel's last column, XFD.
constexpr int MaxXlsxColumns = 16384;

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

} // namespace

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

} // namespace workbook
