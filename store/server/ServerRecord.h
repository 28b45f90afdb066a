#pragma once
// The record on a server: table db of schema recorde, one row shared by every machine of the lab,
// its name and points blank while no record has been set, reached through the functions that
// the set-up makes beside it (ServerSchema.h).
#include "store/bank/RecordStore.h"

class ServerRecordStore final : public RecordStore {
public:
    explicit ServerRecordStore(const QString &connection);

    std::optional<Record> read() override;
    // One transaction on the server: the row is read and locked, so every other machine settling
    // at the same moment waits for this one and then decides on what it wrote. A server that
    // cannot be reached, or a row held beyond the engine's wait, fails before anything is
    // decided; a write that fails undoes the transaction.
    void settle(const std::function<std::optional<Record>(const Stored &)> &decide) override;

private:
    QString m_connection;
};
