#pragma once
// The first table of an .ods workbook (OpenDocument, as LibreOffice writes it), read for
// parseSpreadsheet() (Spreadsheet.h).
#include "store/exchange/WorkbookZip.h"

namespace workbook {

// Hands the rows of the first table of content.xml to `rows`, each cell as the sheet shows it,
// rows and cells written once and repeated as many times as they stand for. `unpacked` counts the
// bytes unpacked from the zip. Throws Fault.
void readOds(const Zip &zip, qint64 &unpacked, Rows &rows);

} // namespace workbook
