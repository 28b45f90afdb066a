#pragma once
// An exclusive hold on the record of a data directory, shared by every copy of the game that
// uses it: two players finishing at once must not both take the record from the same old value.
#include "store/core/Handles.h"

#include <QString>

class RecordLock {
public:
    // Waits a few seconds at most for the copy that holds the record; throws AppError when that
    // copy does not let go. A folder that cannot be opened is not held: reading and writing the
    // record there fail on their own, with their own texts.
    explicit RecordLock(const QString &recordPath);
    ~RecordLock();
    RecordLock(const RecordLock &) = delete;
    RecordLock &operator=(const RecordLock &) = delete;

    bool held() const { return m_folder.isOpen(); }

private:
    UniqueFd m_folder;
};
