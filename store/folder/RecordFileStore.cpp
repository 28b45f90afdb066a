#include "store/folder/RecordFileStore.h"

#include "store/core/AppError.h"
#include "store/folder/RecordFile.h"
#include "store/folder/RecordLock.h"

std::optional<Record> RecordFileStore::read()
{
    // Read into a temporary, so that a damaged file does not half-fill a record.
    Record record;
    if (!ReadRecord(m_path, record.name, record.points))
        return std::nullopt;
    return record;
}

void RecordFileStore::settle(const std::function<std::optional<Record>(const Stored &)> &decide)
{
    const RecordLock lock(m_path);
    Stored stored;
    try {
        stored.record = read();
    } catch (const AppError &e) {
        // Handed to `decide`, which says what stands for the record and tells the player.
        stored.readError = e.text();
    }
    if (const std::optional<Record> record = decide(stored))
        WriteRecord(m_path, record->name, record->points);
}
