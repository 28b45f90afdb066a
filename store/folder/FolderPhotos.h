#pragma once
// The photos of a data folder: a question's Foto is the path of a photo file, wherever it is on
// the disk, and a copy made for the bank goes into the folder's fotos/ folder.
#include "store/bank/BankPhotos.h"

class FolderPhotos final : public BankPhotos {
public:
    explicit FolderPhotos(const QString &folder) : m_folder(folder) {}

    // The file itself, opened only by whoever reads it.
    BankPhoto read(const QString &foto) override;
    bool has(const QString &foto) override;
    QString missing(const QString &foto) const override;
    bool changesInPlace() const override { return true; }
    KeptPhoto keepFile(const QString &path) override { return {path, false}; }
    KeptPhoto keepBytes(const QString &name, const QByteArray &bytes) override;
    void forget(const QString &foto) override;

private:
    QString m_folder;
};

// Writes `bytes` into `folder` as `name`, or as "name-2.ext", ... when a different file has that
// name; a file with the same bytes is used as it is. Throws AppError.
KeptPhoto keepInFolder(const QString &folder, const QString &name, const QByteArray &bytes);
