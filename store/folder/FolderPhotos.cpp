#include "store/folder/FolderPhotos.h"

#include "store/bank/PhotoPlan.h"
#include "store/core/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

BankPhoto FolderPhotos::read(const QString &foto) { return {foto, {}, photoExtension(foto)}; }

bool FolderPhotos::has(const QString &foto) { return QFileInfo(foto).isFile(); }

QString FolderPhotos::missing(const QString &foto) const { return QStringLiteral("a foto %1 não existe").arg(foto); }

KeptPhoto FolderPhotos::keepBytes(const QString &name, const QByteArray &bytes)
{
    return keepInFolder(QDir(m_folder).filePath(QStringLiteral("fotos")), name, bytes);
}

void FolderPhotos::forget(const QString &foto) { QFile::remove(foto); }

KeptPhoto keepInFolder(const QString &folder, const QString &name, const QByteArray &bytes)
{
    if (!QDir().mkpath(folder))
        throw AppError(QStringLiteral("Não foi possível criar a pasta das fotos: %1").arg(folder));
    for (int n = 1;; ++n) {
        const QString target = QDir(folder).filePath(numberedPhotoName(name, n));
        QFile existing(target);
        if (existing.exists() || QFileInfo(target).isSymLink()) {
            if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
                return {target, false};
            continue;
        }
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            throw AppError(QStringLiteral("Não foi possível gravar a cópia ajustada da foto em \"%1\": %2")
                               .arg(target, file.errorString()));
        return {target, true};
    }
}
