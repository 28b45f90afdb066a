#include "store/bank/PhotoPlan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool sameContents(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    for (;;) {
        const QByteArray pa = fa.read(64 * 1024), pb = fb.read(64 * 1024);
        if (pa != pb)
            return false;
        if (pa.isEmpty())
            return !fa.error() && !fb.error();
    }
}

QString numberedPhotoName(const QString &fileName, int n)
{
    if (n == 1)
        return fileName;
    const QFileInfo info(fileName);
    return QStringLiteral("%1-%2%3").arg(info.completeBaseName()).arg(n).arg(
        info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
}

PhotoPlan::PhotoPlan(const QString &photoFolder)
    : m_folder(photoFolder), m_canonicalFolder(QFileInfo(photoFolder).canonicalFilePath())
{
}

QString PhotoPlan::place(const QString &source)
{
    const QFileInfo info(source);
    const QString key = info.canonicalFilePath();
    if (const auto known = m_placed.constFind(key); known != m_placed.cend())
        return *known;
    if (!m_canonicalFolder.isEmpty() && info.canonicalPath() == m_canonicalFolder)
        return remember(key, QDir(m_folder).filePath(QFileInfo(key).fileName()));
    for (int n = 1;; ++n) {
        const QString target = QDir(m_folder).filePath(numberedPhotoName(info.fileName(), n));
        if (m_taken.contains(target))
            continue;
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
            if (QFileInfo(target).isFile() && sameContents(target, source))
                return remember(key, target);
            continue;
        }
        m_copies.append({source, target});
        return remember(key, target);
    }
}

bool PhotoPlan::sameAs(const QString &source, const QString &stored)
{
    return QFileInfo(stored).isFile() && sameContents(source, stored);
}

QString PhotoPlan::remember(const QString &key, const QString &target)
{
    m_placed.insert(key, target);
    m_taken.insert(target);
    return target;
}
