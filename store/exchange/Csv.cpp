#include "store/exchange/Csv.h"

#include "store/core/Win1252.h"

#include <QStringDecoder>

#include <algorithm>
#include <exception>
#include <new>

#include <csv.h>

namespace {

const QByteArray ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// The separator of the first line: the one of ';' and ',' that appears more often outside quotes.
char detectSeparator(QByteArrayView text)
{
    int semicolons = 0, commas = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && isLineEnd(c))
            break;
        else if (!quoted && c == ';')
            ++semicolons;
        else if (!quoted && c == ',')
            ++commas;
    }
    return commas > semicolons ? ',' : ';';
}

// The line of the first byte that is not part of valid UTF-8, for the report.
int lineOfFirstInvalidUtf8(QByteArrayView text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    int line = 1;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        // Lines end at an ASCII byte, which no multi-byte sequence contains. (The decoder works
        // only when its result is taken.)
        const QString decoded = decoder.decode(text.sliced(start, end - start));
        if (decoder.hasError())
            return line;
        ++line;
        start = end + 1;
    }
    return line;
}

// What libcsv's callbacks build: the fields of the record under way, handed on when it ends.
struct Reader {
    const std::function<void(const CsvRecord &)> *onRecord;
    bool utf8;
    CsvRecord record;

    QString decode(const char *data, size_t size) const
    {
        const QByteArray bytes(data, qsizetype(std::min(size, size_t(MaxCsvFieldBytes))));
        if (!utf8)
            return fromWin1252(bytes);
        // QString::fromUtf8() would drop a U+FEFF at the start of the field.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    static void field(void *data, size_t size, void *self)
    {
        auto *reader = static_cast<Reader *>(self);
        if (reader->record.fields.size() < MaxCsvFields)
            reader->record.fields.append(reader->decode(static_cast<const char *>(data), size));
        ++reader->record.fieldCount;
    }
    static void recordEnd(int, void *self)
    {
        auto *reader = static_cast<Reader *>(self);
        // What the receiver throws must not pass through libcsv, which is C: it is kept, the
        // reading stops, and it is thrown again once libcsv is done with.
        if (!reader->thrown) {
            try {
                (*reader->onRecord)(reader->record);
            } catch (...) {
                reader->thrown = std::current_exception();
            }
        }
        reader->record = CsvRecord();
    }

    std::exception_ptr thrown;
};

// libcsv's parser, freed on every way out.
struct Parser {
    csv_parser parser;
    Parser()
    {
        if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
            throw std::bad_alloc();
    }
    ~Parser() { csv_free(&parser); }
    Parser(const Parser &) = delete;
    Parser &operator=(const Parser &) = delete;
};

} // namespace

CsvText parseCsv(QByteArrayView bytes, const std::function<void(const CsvRecord &)> &onRecord)
{
    CsvText result;
    const bool marked = bytes.startsWith(ByteOrderMark);
    const QByteArrayView text = marked ? bytes.sliced(ByteOrderMark.size()) : bytes;
    result.utf8 = text.isValidUtf8();
    if (marked && !result.utf8) {
        result.errorLine = lineOfFirstInvalidUtf8(text);
        result.error = QStringLiteral("o arquivo começa com a marca do UTF-8, mas esta linha tem bytes que "
                                      "não são UTF-8; salve-o de novo como \"CSV UTF-8\"");
        return result;
    }
    result.separator = detectSeparator(text);

    Parser owned;
    csv_parser &parser = owned.parser;
    csv_set_delim(&parser, static_cast<unsigned char>(result.separator));
    Reader reader{&onRecord, result.utf8, {}, {}};

    // Byte by byte, so that the line where each record starts is known.
    int line = 1;
    char previous = 0;
    bool failed = false;
    for (const char c : text) {
        if (reader.record.line == 0 && !isLineEnd(c) && !isBlank(c))
            reader.record.line = line;
        if (csv_parse(&parser, &c, 1, &Reader::field, &Reader::recordEnd, &reader) != 1) {
            failed = true;
            break;
        }
        if (reader.thrown)
            std::rethrow_exception(reader.thrown);
        if (c == '\r' || (c == '\n' && previous != '\r'))
            ++line;
        previous = c;
    }
    const int faultLine = reader.record.line ? reader.record.line : line;
    if (failed) {
        result.errorLine = faultLine;
        result.error = csv_error(&parser) == CSV_EPARSE
            ? QStringLiteral("aspas fora do lugar: um campo com aspas deve estar todo entre aspas, "
                             "com as aspas de dentro dobradas (\"\")")
            : QStringLiteral("sem memória para ler o arquivo");
    } else if (csv_fini(&parser, &Reader::field, &Reader::recordEnd, &reader) != 0) {
        result.errorLine = faultLine;
        result.error = QStringLiteral("as aspas abertas neste registro não se fecham até o fim do arquivo");
    }
    if (reader.thrown)
        std::rethrow_exception(reader.thrown);
    return result;
}

CsvText readCsv(const QByteArray &bytes)
{
    QList<CsvRecord> records;
    CsvText result = parseCsv(bytes, [&records](const CsvRecord &record) { records.append(record); });
    result.records = std::move(records);
    return result;
}

QByteArray csvLine(const QStringList &fields, char separator, quint64 alwaysQuoted)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        const QByteArray field = fields[i].toUtf8();
        // Also quoted: the one empty field of a record, which would be a blank line, and a field
        // that starts with what a reader takes for a byte-order mark.
        const bool quote = field.contains(separator) || field.contains('"') || field.contains('\r')
            || field.contains('\n')
            || (!field.isEmpty() && (isBlank(field.front()) || isBlank(field.back())))
            || (field.isEmpty() && fields.size() == 1) || field.startsWith(ByteOrderMark)
            || (i < 64 && (alwaysQuoted >> i & 1));
        if (quote)
            line += '"' + QByteArray(field).replace("\"", "\"\"") + '"';
        else
            line += field;
    }
    return line + "\r\n";
}

QString csvFormulaGuarded(const QString &text)
{
    return !text.isEmpty() && QStringLiteral("=+-@\t\r'").contains(text.front()) ? QLatin1Char('\'') + text : text;
}

QString csvFormulaUnguarded(const QString &text)
{
    return text.startsWith(QLatin1Char('\'')) ? text.mid(1) : text;
}
