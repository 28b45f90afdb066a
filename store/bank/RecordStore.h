#pragma once
// The record: the best score so far and its holder, shared by every copy of the game on the
// same data.
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class BankLocation;

// What a whole game can score: 20 right answers, or 20 wrong ones and two skips; and the longest
// name the start screen takes. A record on a server is held to these by the server itself.
namespace RecordLimits {
constexpr int lowest = -62;
constexpr int highest = 100;
constexpr int nameLength = 20;
} // namespace RecordLimits

struct Record {
    QString name;
    qint32 points = 0;
};

class RecordStore {
public:
    virtual ~RecordStore() = default;

    // The record as stored; nothing when none has been set. Throws AppError when it cannot be read.
    virtual std::optional<Record> read() = 0;

    // What `settle` is told of the stored record: the record (nothing when none is stored or it
    // could not be read) and, when it could not be read, why.
    struct Stored {
        std::optional<Record> record;
        QString readError;
    };
    // Settles the record as one step across every copy of the game: while no other copy can,
    // the stored record is read and handed to `decide`, and the record it returns (if any) is
    // stored. Throws AppError when another copy holds the record too long (nothing decided), or
    // when the new record cannot be written (after deciding).
    virtual void settle(const std::function<std::optional<Record>(const Stored &)> &decide) = 0;
};

// The record file Recorde.txt of the data directory, settled under its lock.
class RecordFileStore final : public RecordStore {
public:
    std::optional<Record> read() override;
    void settle(const std::function<std::optional<Record>(const Stored &)> &decide) override;
};

// The record that goes with the bank at `where`: the record file of the data folder, or the
// record on the server.
std::unique_ptr<RecordStore> recordStoreAt(const BankLocation &where);
