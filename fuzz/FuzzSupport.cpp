#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>

namespace fuzz {

void startQt(int *argc, char ***argv, bool gui)
{
    if (QCoreApplication::instance() != nullptr)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives until the process ends; libFuzzer never returns from its loop normally.
    if (gui)
        new QGuiApplication(*argc, *argv);
    else
        new QCoreApplication(*argc, *argv);
}

QString scratchFolder()
{
    // In memory where the system offers a memory file system: a file written and read at every
    // run would otherwise wait on the disk.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/jornada-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/jornada-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        qWarning("fuzz: no scratch folder: %s", qPrintable(folder.errorString()));
        std::abort();
    }
    return folder.path();
}

QString writeScratch(const QString &name, const uint8_t *data, size_t size)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) {
        qWarning("fuzz: cannot write %s", qPrintable(path));
        std::abort();
    }
    return path;
}

} // namespace fuzz
