// libFuzzer target for the workbook reader of the question import (store/Spreadsheet.h): any
// bytes, read as an .xlsx or .ods file, are read without a fault and within the limits, and the
// rows come in order with their fields kept as Csv.h says.
#include "FuzzSupport.h"

#include "store/exchange/Spreadsheet.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::writeScratch(QStringLiteral("planilha.xlsx"), data, size);
    int previous = 0;
    int checked = 0;
    const CsvText text = parseSpreadsheet(path, [&](const CsvRecord &record) {
        if (record.line <= previous || record.line > MaxSpreadsheetRows)
            std::abort();
        previous = record.line;
        // Every field up to MaxCsvFields is kept, and the last one kept has text unless some were
        // dropped after it.
        if (record.fieldCount < 1 || record.fields.size() != std::min(record.fieldCount, MaxCsvFields)
            || (record.fieldCount == record.fields.size() && record.fields.last().isEmpty()))
            std::abort();
        // A row repeated a million times is looked at field by field only the first times.
        if (++checked <= 64)
            for (const QString &field : record.fields)
                if (field.toUtf8().size() > MaxCsvFieldBytes)
                    std::abort();
    });
    if (!text.records.isEmpty() || text.errorLine < 0 || text.errorLine > MaxSpreadsheetRows
        || (text.error.isEmpty() && text.errorLine != 0))
        std::abort();
    return 0;
}
