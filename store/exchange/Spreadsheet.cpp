#include "store/exchange/Spreadsheet.h"

#include "store/exchange/OdsSheet.h"
#include "store/exchange/WorkbookZip.h"
#include "store/exchange/XlsxSheet.h"

#include <QFile>

#include <algorithm>

using namespace workbook;

namespace {

const QString OdsMimeType = QStringLiteral("application/vnd.oasis.opendocument.spreadsheet");

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
            readOds(zip, unpacked, rows);
        }
    } catch (const Fault &fault) {
        result.error = fault.message;
        result.errorLine = fault.line;
    }
    return result;
}
