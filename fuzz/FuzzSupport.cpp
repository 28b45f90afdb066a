#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cerrno>
#include <cstdlib>

#include <signal.h>
#include <unistd.h>

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
    // run would otherwise wait on the disk. libFuzzer ends the process without running static
    // destructors, so the folder is named after the process, and the folders of processes that
    // are gone are removed here instead.
    static const QString folder = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                        : QDir::tempPath();
        const QString prefix = QStringLiteral("jornada-fuzz-");
        QDir dir(base);
        for (const QString &name : dir.entryList({prefix + u'*'}, QDir::Dirs)) {
            const qint64 pid = name.mid(prefix.size()).toLongLong();
            if (pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
                QDir(dir.filePath(name)).removeRecursively();
        }
        const QString path = dir.filePath(prefix + QString::number(::getpid()));
        if (!QDir().mkpath(path)) {
            qWarning("fuzz: não foi possível criar a pasta de trabalho %s", qUtf8Printable(path));
            std::abort();
        }
        return path;
    }();
    return folder;
}

QString writeScratch(const QString &name, const uint8_t *data, size_t size)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) {
        qWarning("fuzz: não foi possível gravar %s", qUtf8Printable(path));
        std::abort();
    }
    return path;
}

} // namespace fuzz
