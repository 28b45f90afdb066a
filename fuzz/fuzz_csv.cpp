// libFuzzer target for the CSV reader of the question import (store/Csv.h): any bytes are read
// without a fault, the line numbers make sense, and whatever was read is written back by
// csvLine() into text that reads back to the same records.
#include "store/exchange/Csv.h"

#include <cstdint>
#include <cstdlib>


extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const CsvText csv = readCsv(bytes);

    int previous = 0;
    for (const CsvRecord &record : csv.records) {
        if (record.line <= previous || record.fields.isEmpty())
            std::abort();
        previous = record.line;
    }
    if (!csv.error.isEmpty() && csv.errorLine < 1)
        std::abort();
    if (csv.separator != ';' && csv.separator != ',')
        std::abort();

    // What was read whole is written back and read again.
    if (csv.error.isEmpty() && !csv.records.isEmpty()) {
        QByteArray text;
        for (const CsvRecord &record : csv.records)
            text += csvLine(record.fields, csv.separator);
        const CsvText again = readCsv(text);
        // The separator is found again from the first line, which the writing may change (a
        // lone field holding the other separator); the round trip holds for the same one.
        if (again.separator == csv.separator) {
            if (!again.error.isEmpty() || !again.utf8 || again.records.size() != csv.records.size())
                std::abort();
            for (qsizetype i = 0; i < csv.records.size(); ++i)
                if (again.records[i].fields != csv.records[i].fields)
                    std::abort();
        }
    }
    return 0;
}
