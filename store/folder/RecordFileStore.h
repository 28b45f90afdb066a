#pragma once
// The record of a data folder: its record file Recorde.txt, settled under its lock.
#include "store/bank/RecordStore.h"

class RecordFileStore final : public RecordStore {
public:
    // The record kept in the file `path`.
    explicit RecordFileStore(const QString &path) : m_path(path) {}

    std::optional<Record> read() override;
    void settle(const std::function<std::optional<Record>(const Stored &)> &decide) override;

private:
    QString m_path;
};
