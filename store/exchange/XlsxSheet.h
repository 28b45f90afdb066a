#pragma once
// The first worksheet of an .xlsx workbook (Office Open XML, as Excel writes it), read for
// parseSpreadsheet() (Spreadsheet.h).
#include "store/exchange/WorkbookZip.h"

namespace workbook {

// Hands the rows of the first worksheet that xl/workbook.xml lists to `rows`, each cell as the
// sheet shows it, a shared string by its text. `unpacked` counts the bytes unpacked from the zip.
// Throws Fault.
void readXlsx(const Zip &zip, qint64 &unpacked, Rows &rows);

} // namespace workbook
