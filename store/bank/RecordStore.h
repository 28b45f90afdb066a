#pragma once
// The record: the best score so far and its holder, shared by every copy of the game on the
// same data.
#include "store/core/GameRules.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// What a record can be: what a whole game scores, and a name the start screen takes. A record on
// a server is held to these by the server itself.
namespace RecordLimits {
constexpr int lowest = GameRules::lowestScore;
constexpr int highest = GameRules::highestScore;
constexpr int nameLength = GameRules::playerNameLength;
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
