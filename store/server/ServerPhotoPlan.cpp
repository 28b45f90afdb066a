#include "store/server/ServerPhotoPlan.h"

#include "store/server/ServerPhotos.h"

#include <QFile>
#include <QFileInfo>

ServerPhotoPlan::ServerPhotoPlan(const QString &connection) : m_connection(connection) {}

QString ServerPhotoPlan::place(const QString &source)
{
    const QFileInfo info(source);
    const QString key = info.canonicalFilePath();
    if (const auto known = m_placed.constFind(key); known != m_placed.cend())
        return *known;
    ServerPhotos bank(m_connection);
    for (int n = 1;; ++n) {
        const QString name = numberedPhotoName(QFileInfo(key).fileName(), n);
        if (m_taken.contains(name))
            continue;
        if (bank.contains(name)) {
            if (!sameAs(source, name))
                continue;
        } else {
            m_stores.append({name, source});
        }
        m_placed.insert(key, name);
        m_taken.insert(name);
        return name;
    }
}

bool ServerPhotoPlan::sameAs(const QString &source, const QString &stored)
{
    ServerPhotos bank(m_connection);
    if (!bank.contains(stored))
        return false;
    // Both are at most a photo file's limit: compared whole.
    QFile file(source);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bank.read(stored);
}
