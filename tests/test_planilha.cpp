// Workbooks read as records: .xlsx files written by libxlsxwriter or entry by entry, .ods files
// written as XML, and files that are damaged or hostile.
#include "store/exchange/Spreadsheet.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <minizip/zip.h>
#include <xlsxwriter.h>
#include <zlib.h>

#include <stdexcept>

namespace {

// An entry of a zip: its name, and its content: `bytes`, then `repeated` written `times` times.
struct Entry {
    QString name;
    QByteArray bytes;
    QByteArray repeated = {};
    int times = 0;
};

void writeZip(const QString &path, const QList<Entry> &entries, const char *password = nullptr)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    QVERIFY(zip);
    for (const Entry &entry : entries) {
        // Encryption needs the CRC before the data.
        const auto bytes = [](const QByteArray &b) { return reinterpret_cast<const Bytef *>(b.constData()); };
        uLong crc = crc32(crc32(0, nullptr, 0), bytes(entry.bytes), uInt(entry.bytes.size()));
        for (int i = 0; i < entry.times; ++i)
            crc = crc32(crc, bytes(entry.repeated), uInt(entry.repeated.size()));
        const zip_fileinfo info {};
        QCOMPARE(zipOpenNewFileInZip3_64(zip, entry.name.toUtf8().constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                                         Z_DEFLATED, 1, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, password,
                                         crc, 1),
                 ZIP_OK);
        QCOMPARE(zipWriteInFileInZip(zip, entry.bytes.constData(), unsigned(entry.bytes.size())), ZIP_OK);
        for (int i = 0; i < entry.times; ++i)
            QCOMPARE(zipWriteInFileInZip(zip, entry.repeated.constData(), unsigned(entry.repeated.size())), ZIP_OK);
        QCOMPARE(zipCloseFileInZip(zip), ZIP_OK);
    }
    QCOMPARE(zipClose(zip, nullptr), ZIP_OK);
}

const QByteArray OdsMimeType = "application/vnd.oasis.opendocument.spreadsheet";
const QByteArray OdsHead = R"(<?xml version="1.0" encoding="UTF-8"?><office:document-content
 xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>)";

QList<Entry> odsEntries(const QByteArray &tables)
{
    return {{"mimetype", OdsMimeType}, {"content.xml", OdsHead + tables + "</office:spreadsheet></office:body></office:document-content>"}};
}

QByteArray cell(const QByteArray &text)
{
    return "<table:table-cell><text:p>" + text + "</text:p></table:table-cell>";
}

const QByteArray MainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const QByteArray RelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// An .xlsx whose first sheet is not the first relationship nor sheet1.xml, which holds another.
QList<Entry> xlsxEntries(const QByteArray &sheetData, const QByteArray &sharedStrings)
{
    const auto sheet = [](const QByteArray &data) {
        return "<worksheet xmlns=\"" + MainNs + "\"><sheetData>" + data + "</sheetData></worksheet>";
    };
    return {
        {"xl/workbook.xml", "<workbook xmlns=\"" + MainNs + "\" xmlns:r=\"" + RelNs + "\"><sheets>"
                            "<sheet name=\"Perguntas\" sheetId=\"2\" r:id=\"rId7\"/>"
                            "<sheet name=\"Outra\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + RelNs + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId3\" Type=\"" + RelNs + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
         "<Relationship Id=\"rId7\" Type=\"" + RelNs + "/worksheet\" Target=\"/xl/worksheets/perguntas.xml\"/>"
         "</Relationships>"},
        {"xl/worksheets/sheet1.xml", sheet("<row r=\"1\"><c t=\"inlineStr\"><is><t>errado</t></is></c></row>")},
        {"xl/worksheets/perguntas.xml", sheet(sheetData)},
        {"xl/sharedStrings.xml", "<sst xmlns=\"" + MainNs + "\">" + sharedStrings + "</sst>"},
    };
}

struct Reading {
    QStringList rows; // "line:field|field", or "line(fieldCount):..." when fields were dropped
    CsvText result;
};
Reading readWorkbook(const QString &path)
{
    Reading reading;
    reading.result = parseSpreadsheet(path, [&](const CsvRecord &record) {
        const QString count = record.fieldCount == record.fields.size() ? QString() : u'(' + QString::number(record.fieldCount) + u')';
        reading.rows << QString::number(record.line) + count + u':' + record.fields.join(u'|');
    });
    return reading;
}

} // namespace

class TestPlanilha : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    // A workbook as Excel users save it, through libxlsxwriter.
    void xlsxWrittenBySpreadsheetLibrary()
    {
        const QJsonArray sheet = {
            QJsonArray{"Pergunta", "Resp1", QJsonValue(), "Resp3", "Id"},
            QJsonArray{"Quanto é 2+2; e 3+3?", "\"quatro\"", "linha 1\nlinha 2", "=1+1", 12},
            QJsonArray{},
            QJsonArray{"CR LF\r\nno meio", 3.5, QJsonValue(), true, "  brancos  ", QJsonValue()},
        };
        QStringList expected;
        for (qsizetype row = 0; row < sheet.size(); ++row) {
            QStringList fields;
            for (const QJsonValue cell : sheet.at(row).toArray())
                fields << (cell.isString() ? cell.toString()
                               : cell.isDouble() ? QString::number(cell.toDouble())
                               : cell.isBool()   ? QStringLiteral("VERDADEIRO")
                                                 : QString());
            while (!fields.isEmpty() && fields.last().isEmpty())
                fields.removeLast();
            if (!fields.isEmpty())
                expected << QString::number(row + 1) + u':' + fields.join(u'|');
        }
        // Saved as .ods: the content says what the file is. The second sheet is not read.
        const QString file = path(QStringLiteral("libxlsxwriter.ods"));
        lxw_workbook *workbook = workbook_new(QFile::encodeName(file).constData());
        QVERIFY(workbook);
        lxw_worksheet *first = workbook_add_worksheet(workbook, nullptr);
        for (qsizetype row = 0; row < sheet.size(); ++row) {
            const QJsonArray cells = sheet.at(row).toArray();
            for (qsizetype column = 0; column < cells.size(); ++column) {
                const QJsonValue cell = cells.at(column);
                const auto r = lxw_row_t(row);
                const auto c = lxw_col_t(column);
                if (cell.isString())
                    worksheet_write_string(first, r, c, cell.toString().toUtf8().constData(), nullptr);
                else if (cell.isDouble())
                    worksheet_write_number(first, r, c, cell.toDouble(), nullptr);
                else if (cell.isBool())
                    worksheet_write_boolean(first, r, c, cell.toBool(), nullptr);
            }
        }
        worksheet_write_string(workbook_add_worksheet(workbook, nullptr), 0, 0, "não é lida", nullptr);
        QCOMPARE(workbook_close(workbook), LXW_NO_ERROR);

        const Reading reading = readWorkbook(file);
        QCOMPARE(reading.result.error, QString());
        QCOMPARE(reading.rows, expected);
    }

    // Workbooks written entry by entry: what other programs write, and what they get wrong.
    void craftedWorkbook_data()
    {
        QTest::addColumn<bool>("ods");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("sharedStrings");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("errorLine");

        const QByteArray strings = "<si><t>Pergunta</t></si>"
                                   "<si><r><t>Rico </t></r><r><rPr><b/></rPr><t xml:space=\"preserve\"> texto </t></r>"
                                   "<rPh sb=\"0\" eb=\"1\"><t>ふりがな</t></rPh></si>"
                                   "<si><t>linha_x000D_\nquebra _x005F_x000D_ &amp; &lt;b&gt;</t></si>";
        QTest::newRow("xlsx: tipos de célula, colunas e linhas puladas")
            << false
            << QByteArray("<row r=\"2\"><c r=\"A2\" t=\"s\"><v>0</v></c><c r=\"C2\" t=\"s\"><v>1</v></c><c t=\"s\"><v>2</v></c></row>"
                          "<row r=\"5\"><c r=\"B5\"><v>12</v></c><c r=\"C5\" t=\"b\"><v>1</v></c><c r=\"D5\" t=\"e\"><v>#N/A</v></c>"
                          "<c r=\"E5\" t=\"str\"><f>A1</f><v>=fórmula</v></c><c r=\"F5\" t=\"inlineStr\"><is><t>em linha</t></is></c>"
                          "<c r=\"G5\" s=\"3\"/></row>"
                          "<row><c><v>1.5</v></c></row><row r=\"7\"><c r=\"B7\" s=\"1\"/></row>")
            << strings
            << QStringList{"2:Pergunta||Rico  texto |linha\r\nquebra _x000D_ & <b>", "5:|12|VERDADEIRO|#N/A|=fórmula|em linha", "6:1.5"}
            << QString() << 0;
        const QString cut(MaxCsvFieldBytes / 2, u'é');
        QTest::newRow("xlsx: campo cortado, campos além do limite contados")
            << false << "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" + QString(MaxCsvFieldBytes, u'é').toUtf8()
                            + "</t></is></c><c r=\"ALN1\"><v>1</v></c></row>"
            << QByteArray() << QStringList{"1(1002):" + cut + QString(MaxCsvFields - 1, u'|')} << QString() << 0;
        const QByteArray first = "<row r=\"1\"><c t=\"inlineStr\"><is><t>ok</t></is></c></row>";
        QTest::newRow("xlsx: texto compartilhado que não existe")
            << false << first + "<row r=\"3\"><c r=\"A3\" t=\"s\"><v>3</v></c></row>" << strings << QStringList{"1:ok"}
            << "a célula A3 aponta para um texto compartilhado que não existe" << 3;
        QTest::newRow("xlsx: texto compartilhado que não existe, além da última linha")
            << false << QByteArray("<row r=\"3333333\"><c t=\"s\"><v>9</v></c></row>") << strings << QStringList()
            << "não existe" << 0;
        // Past Excel's last column XFD, or without its row: no cell.
        for (const char *reference : {"XFE4", "B"})
            QTest::newRow(qPrintable(u"xlsx: a referência %1 não é de célula"_qs.arg(QLatin1String(reference))))
                << false << first + "<row r=\"4\"><c r=\"" + reference + "\"><v>1</v></c></row>" << strings
                << QStringList{"1:ok"} << u"a célula \"%1\" está fora de ordem ou não existe"_qs.arg(QLatin1String(reference))
                << 4;
        QTest::newRow("xlsx: XML malformado")
            << false << first + "<row r=\"4\"><c r=\"A4\"><v>1</v></row>" << strings << QStringList{"1:ok"}
            << "malformado" << 4;
        QTest::newRow("xlsx: linhas fora de ordem")
            << false << "<row r=\"3\"/>" + first << strings << QStringList() << "fora de ordem" << 0;

        QTest::newRow("ods: parágrafos, espaços, valores, só a primeira tabela")
            << true
            << QByteArray("<table:table><table:table-column table:number-columns-repeated=\"3\"/><table:table-row>"
                          "<table:table-cell><text:p>Qual é</text:p><text:p>a<text:s text:c=\"3\"/>capital?</text:p></table:table-cell>"
                          "<table:table-cell><text:p><text:s/>um<text:tab/>dois<text:line-break/>três<text:s/></text:p></table:table-cell>"
                          "<table:table-cell><office:annotation><text:p>comentário</text:p></office:annotation>"
                          "<text:p>\n  <text:span>em  </text:span>\n <text:a>link</text:a>  </text:p></table:table-cell></table:table-row>"
                          "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"3.14\"><text:p>3,14</text:p></table:table-cell>"
                          "<table:table-cell office:value-type=\"float\" office:value=\"12\"/></table:table-row></table:table>"
                          "<table:table><table:table-row>" + cell("outra") + "</table:table-row></table:table>")
            << QByteArray() << QStringList{"1:Qual é\na   capital?| um\tdois\ntrês |em link ", "2:3,14|12"} << QString() << 0;
        // As LibreOffice ends every sheet: empty cells to the last column, empty rows to the last row.
        const QByteArray sheetEnd = "<table:table-row table:number-rows-repeated=\"1048000\">"
                                    "<table:table-cell table:number-columns-repeated=\"16384\"/></table:table-row>";
        QTest::newRow("ods: linhas e células repetidas")
            << true
            << "<table:table><table:table-header-rows><table:table-row>" + cell("Pergunta")
                   + "<table:table-cell table:number-columns-repeated=\"2\"/>" + cell("Id")
                   + "<table:table-cell table:number-columns-repeated=\"16000\"/></table:table-row></table:table-header-rows>"
                     "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell table:number-columns-repeated=\"2\">"
                     "<text:p>x</text:p></table:table-cell></table:table-row>"
                     "<table:table-row table:number-rows-repeated=\"5\"><table:table-cell table:number-columns-repeated=\"1024\"/></table:table-row>"
                     "<table:table-row-group><table:table-row><table:covered-table-cell/>" + cell("fim")
                   + "</table:table-row></table:table-row-group>" + sheetEnd + sheetEnd + "</table:table>"
            << QByteArray() << QStringList{"1:Pergunta|||Id", "2:x|x", "3:x|x", "4:x|x", "10:|fim"} << QString() << 0;
        QTest::newRow("ods: texto depois da última linha")
            << true
            << "<table:table><table:table-row table:number-rows-repeated=\"" + QByteArray::number(MaxSpreadsheetRows - 1)
                   + "\"/><table:table-row table:number-rows-repeated=\"2\">" + cell("a")
                   + "</table:table-row></table:table>"
            << QByteArray() << QStringList{QString::number(MaxSpreadsheetRows) + ":a"} << "depois da linha" << 0;
    }
    void craftedWorkbook()
    {
        QFETCH(bool, ods);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, sharedStrings);
        QFETCH(QStringList, rows);
        QFETCH(QString, error);
        QFETCH(int, errorLine);
        const QString file = path(QStringLiteral("feita.xlsx"));
        writeZip(file, ods ? odsEntries(content) : xlsxEntries(content, sharedStrings));
        QElapsedTimer timer;
        timer.start();
        const Reading reading = readWorkbook(file);
        QCOMPARE(reading.rows, rows);
        QVERIFY2(error.isEmpty() ? reading.result.error.isEmpty() : reading.result.error.contains(error),
                 qPrintable(reading.result.error));
        QCOMPARE(reading.result.errorLine, errorLine);
        // Repetitions are counted, never spelled out.
        QVERIFY(timer.elapsed() < 5000);
    }

    void hostileFiles()
    {
        // A zip whose one XML entry, deflated, is damaged from its start.
        QByteArray rows;
        for (int i = 0; i < 200; ++i)
            rows += "<table:table-row>" + cell(QByteArray::number(i)) + "</table:table-row>";
        const QString real = path(QStringLiteral("real.ods"));
        writeZip(real, odsEntries("<table:table>" + rows + "</table:table>"));
        QFile realFile(real);
        QVERIFY(realFile.open(QIODevice::ReadOnly));
        const QByteArray zip = realFile.readAll();
        const qsizetype name = zip.indexOf("content.xml"), data = name + 11 + uchar(zip[name - 2]) + 256 * uchar(zip[name - 1]);
        const QByteArray damaged = QByteArray(zip).replace(data + 2, 32, QByteArray(32, '\xA5'));

        const struct {
            const char *name;
            QByteArray bytes; // the file, or else a zip of `entries`
            QList<Entry> entries;
            QString error;
        } cases[] = {
            {"texto", "Pergunta;Resp1\r\n", {}, "não é um arquivo compactado"},
            {"zip cortado", zip.left(zip.size() / 2), {}, "não é um arquivo compactado"},
            {"zip danificado", damaged, {}, "content.xml"},
            {"xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + QByteArray(504, 0), {}, "Excel antigo"},
            {"outro zip", {}, {{"leia.txt", "oi"}}, "sem xl/workbook.xml nem content.xml"},
            {"texto OpenDocument", {}, {{"mimetype", "application/vnd.oasis.opendocument.text"}, {"content.xml", "<a/>"}}, "outro tipo"},
            {"com senha", {}, xlsxEntries("", ""), "protegida por senha"},
            // 200 MB of XML comments in some 200 kB.
            {"bomba", {}, {{"mimetype", OdsMimeType}, {"content.xml", OdsHead + "<table:table>", "<!--" + QByteArray(1 << 20, '0') + "-->", 200}},
             "passa de 64 MB"},
        };
        for (const auto &c : cases) {
            const QString file = path(QString::fromUtf8(c.name));
            if (c.bytes.isEmpty()) {
                writeZip(file, c.entries, c.error.contains(QLatin1String("senha")) ? "segredo" : nullptr);
            } else {
                QFile out(file);
                QVERIFY(out.open(QIODevice::WriteOnly) && out.write(c.bytes) == c.bytes.size());
            }
            const Reading reading = readWorkbook(file);
            QVERIFY2(reading.result.error.contains(c.error), qPrintable(c.name + (": " + reading.result.error)));
            QCOMPARE(reading.result.errorLine, 0);
            QCOMPARE(reading.rows, QStringList());
        }
    }

    // A row of a thousand long fields, repeated: what is handed on stops at the limit.
    void repeatedTextIsBounded()
    {
        const QString file = path(QStringLiteral("repetida.ods"));
        writeZip(file, odsEntries("<table:table><table:table-row table:number-rows-repeated=\"1000\"><table:table-cell "
                                  "table:number-columns-repeated=\"1000\"><text:p>" + QByteArray(MaxCsvFieldBytes, 'a')
                                  + "</text:p></table:table-cell></table:table-row></table:table>"));
        qint64 records = 0;
        const CsvText result = parseSpreadsheet(file, [&](const CsvRecord &) { ++records; });
        QVERIFY2(result.error.contains(QLatin1String("caracteres")), qPrintable(result.error));
        QCOMPARE(records, MaxSpreadsheetCharacters / (MaxCsvFields * MaxCsvFieldBytes));
    }

    void receiverExceptionPassesThrough()
    {
        const QString file = path(QStringLiteral("tres.ods"));
        const QByteArray row = "<table:table-row>" + cell("x") + "</table:table-row>";
        writeZip(file, odsEntries("<table:table>" + row + row + row + "</table:table>"));
        int handed = 0;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, parseSpreadsheet(file, [&](const CsvRecord &record) {
            ++handed;
            if (record.line == 2)
                throw std::runtime_error("parou");
        }));
        QCOMPARE(handed, 2);
    }
};

QTEST_GUILESS_MAIN(TestPlanilha)
#include "test_planilha.moc"
