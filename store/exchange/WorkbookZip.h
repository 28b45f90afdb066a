#pragma once
// What the readers of a workbook share (Spreadsheet.cpp, XlsxSheet.cpp, OdsSheet.cpp): the zip,
// one entry of it read as XML within the limits of Spreadsheet.h, and the rows handed on as the
// records of a CSV file. Nothing else uses it.
#include "store/exchange/Csv.h"

#include <QFile>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

#include <minizip/unzip.h>

#include <algorithm>
#include <functional>

namespace workbook {

// What stops the reading: the teacher's message, and the row it is in (0 for none). Thrown only
// by the readers of a workbook and caught by parseSpreadsheet(), so that what the receiver of the
// records throws is never taken for it.
struct Fault {
    QString message;
    int line = 0;
};

enum class Kind { Xlsx, Ods };

// A workbook of `kind` that is damaged or not as its kind is written, for the reason `why`.
Fault invalid(Kind kind, const QString &why, int line = 0);
// A file that is no workbook, for the reason `why`.
Fault neither(const QString &why);

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
QString fieldText(QString text);

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
void openEntry(const Zip &zip, const QString &name, Kind kind);

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
    bool next();

    bool isStart() const { return xml.isStartElement(); }
    bool isEnd() const { return xml.isEndElement(); }
    bool is(const QString &ns, QStringView local) const { return xml.namespaceUri() == ns && xml.name() == local; }
    QStringView attribute(const char *qualifiedName) const { return xml.attributes().value(QLatin1StringView(qualifiedName)); }
    QStringView attribute(const QString &ns, const char *local) const { return xml.attributes().value(ns, QLatin1StringView(local)); }

    // Reads the element just started to its end.
    void skip();
    // The text of the element just started, whatever elements it holds, read to its end.
    void gatherText(Gathered &text);
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
    void refill();

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
    void add(CsvRecord &record, qint64 line, qint64 repeat = 1);
};

// The fields of a row as its cells come, left to right: the columns skipped before a cell with
// text are empty fields, and the cells without text after the last one with text are no fields.
struct RowFields {
    CsvRecord record;

    // The cell of column `column` (1 for A), `repeat` times side by side.
    void add(qint64 column, const QString &text, qint64 repeat = 1);
};

} // namespace workbook
