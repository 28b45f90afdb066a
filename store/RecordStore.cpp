#include "store/RecordStore.h"

#include "store/AppError.h"
#include "store/BankLocation.h"
#include "store/RecordFile.h"
#include "store/RecordLock.h"
#include "store/ServerRecord.h"

std::optional<Record> RecordFileStore::read()
{
    // Read into a temporary, so that a damaged file does not half-fill a record.
    Record record;
    if (!ReadRecord(recordFilePath(), record.name, record.points))
        return std::nullopt;
    return record;
}

void RecordFileStore::settle(const std::function<std::optional<Record>(const Stored &)> &decide)
{
    const RecordLock lock(recordFilePath());
    Stored stored;
    try {
        stored.record = read();
    } catch (const AppError &e) {
        // Handed to `decide`, which says what stands for the record and tells the player.
        stored.readError = e.text();
    }
    if (const std::optional<Record> record = decide(stored))
        WriteRecord(recordFilePath(), record->name, record->points);
}

std::unique_ptr<RecordStore> recordStoreAt(const BankLocation &where)
{
    if (where.isServer())
        return std::make_unique<ServerRecordStore>(where.connection());
    return std::make_unique<RecordFileStore>();
}
