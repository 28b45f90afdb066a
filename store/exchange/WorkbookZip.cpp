#include "store/exchange/WorkbookZip.h"

#include "store/exchange/Spreadsheet.h"

#include <utility>

namespace workbook {

namespace {

// Unpacked bytes handed to the XML reader at a time.
constexpr qint64 ChunkBytes = 64 * 1024;
// Elements open at once: a sheet nests a few levels deep, and the XML reader keeps every open
// element, which 64 MB of "<a>" would make millions of.
constexpr int MaxXmlDepth = 256;

} // namespace

Fault invalid(Kind kind, const QString &why, int line)
{
    return {QStringLiteral("o arquivo não é uma planilha %1 válida: %2")
                .arg(kind == Kind::Xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".ods"), why),
            line};
}

Fault neither(const QString &why)
{
    return {QStringLiteral("o arquivo não é uma planilha .xlsx nem .ods: %1").arg(why)};
}

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

bool Entry::next()
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

void Entry::skip()
{
    for (int open = 1; open > 0 && next();)
        open += isStart() ? 1 : isEnd() ? -1 : 0;
}

void Entry::gatherText(Gathered &text)
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

void Entry::refill()
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

void Rows::add(CsvRecord &record, qint64 line, qint64 repeat)
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

void RowFields::add(qint64 column, const QString &text, qint64 repeat)
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

} // namespace workbook
