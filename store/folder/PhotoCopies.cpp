#include "store/folder/PhotoCopies.h"

#include "store/core/AppError.h"
#include "store/folder/FolderSetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char JournalName[] = ".importacao-em-andamento";
const char TemporaryPrefix[] = ".importacao-";
const char TemporarySuffix[] = ".tmp";

QByteArray native(const QString &path) { return QFile::encodeName(path); }

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

[[noreturn]] void fail(const QString &what, const QString &path, int error)
{
    throw AppError(QStringLiteral("%1 %2: %3").arg(what, path, systemError(error)));
}

// The fotos folder, locked for one import; empty when another holds it (or it cannot be opened).
UniqueFd lockFolder(const QString &folder)
{
    UniqueFd fd(::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        fd.reset();
    return fd;
}

struct JournalEntry {
    ino_t inode;
    QString name;
};

// The journal's entries; a line cut short by a kill is no entry.
QList<JournalEntry> readJournal(const QString &path)
{
    QList<JournalEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype space = line.indexOf(' ');
        bool ok = false;
        const qulonglong inode = line.left(space).toULongLong(&ok);
        const QString name = QFile::decodeName(line.mid(space + 1));
        if (space > 0 && ok && !name.isEmpty() && !name.contains(QLatin1Char('/')))
            entries.append({ino_t(inode), name});
    }
    return entries;
}

// The file names that the bank's photos have, or nothing when the bank cannot be read.
std::optional<QSet<QString>> namesInBank(const QString &dataFolder)
{
    try {
        QSet<QString> names;
        for (const QString &photo : questionPhotos(dataFolder))
            names.insert(QFileInfo(photo).fileName());
        return names;
    } catch (const AppError &) {
        return std::nullopt;
    }
}

// Under the folder's lock: undoes what a killed import left in `photoFolder`.
int finishInFolder(const QString &photoFolder, const QString &dataFolder)
{
    const QDir folder(photoFolder);
    const QString journal = folder.filePath(QLatin1String(JournalName));
    int removed = 0;
    if (QFileInfo::exists(journal)) {
        const std::optional<QSet<QString>> named = namesInBank(dataFolder);
        if (!named)
            return 0; // without the bank, nothing can be told apart: all stays
        for (const JournalEntry &entry : readJournal(journal)) {
            const QString path = folder.filePath(entry.name);
            struct stat info {};
            // Only the copy itself: a name that now holds some other file is not the import's.
            if (::lstat(native(path).constData(), &info) == 0 && S_ISREG(info.st_mode)
                && info.st_ino == entry.inode && !named->contains(entry.name)
                && ::unlink(native(path).constData()) == 0)
                ++removed;
        }
    }
    const QStringList temporaries = folder.entryList(
        {QLatin1String(TemporaryPrefix) + u'*' + QLatin1String(TemporarySuffix)}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : temporaries)
        QFile::remove(folder.filePath(name));
    QFile::remove(journal);
    return removed;
}

} // namespace

PhotoCopies::PhotoCopies(const QString &photoFolder) : m_folder(photoFolder)
{
    m_folderMade = !QFileInfo::exists(m_folder);
    if (m_folderMade && !QDir().mkpath(m_folder))
        throw AppError(QStringLiteral("não foi possível criar a pasta %1").arg(m_folder));
    m_lock = lockFolder(m_folder);
    if (!m_lock)
        throw AppError(QStringLiteral("outra importação está gravando fotos em %1; espere que ela termine e "
                                      "importe de novo")
                           .arg(m_folder));
    finishInFolder(m_folder, QFileInfo(m_folder).absolutePath());
}

PhotoCopies::~PhotoCopies()
{
    if (!m_committed)
        undo();
}

void PhotoCopies::copy(const QString &source, const QString &name)
{
    const QDir folder(m_folder);
    if (!m_journal) {
        const QString journal = folder.filePath(QLatin1String(JournalName));
        m_journal.reset(::open(native(journal).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (!m_journal)
            fail(QStringLiteral("não foi possível criar"), journal, errno);
    }
    const QString temporary = folder.filePath(QStringLiteral("%1%2%3")
                                                  .arg(QLatin1String(TemporaryPrefix))
                                                  .arg(m_made.size())
                                                  .arg(QLatin1String(TemporarySuffix)));
    const QString target = folder.filePath(name);
    const auto copyFailed = [&](const QString &reason) {
        QFile::remove(temporary);
        throw AppError(QStringLiteral("não foi possível copiar a foto %1 para %2: %3").arg(source, target, reason));
    };

    // 1. The whole photo, under the temporary name, on the disk.
    std::error_code error;
    std::filesystem::copy_file(std::filesystem::path(native(source).toStdString()),
                               std::filesystem::path(native(temporary).toStdString()),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        copyFailed(QString::fromLocal8Bit(error.message()));
    struct stat info {};
    UniqueFd copied(::open(native(temporary).constData(), O_RDONLY | O_CLOEXEC));
    if (!copied || ::fsync(copied.get()) != 0 || ::fstat(copied.get(), &info) != 0)
        copyFailed(systemError(errno));

    // 2. The journal says which file the name will be, before the name exists.
    const QByteArray entry = QByteArray::number(qulonglong(info.st_ino)) + ' ' + native(name) + '\n';
    if (::write(m_journal.get(), entry.constData(), size_t(entry.size())) != entry.size()
        || ::fdatasync(m_journal.get()) != 0)
        copyFailed(systemError(errno));

    // 3. The name, never over a file that appeared since the photos were planned.
    if (::link(native(temporary).constData(), native(target).constData()) != 0)
        copyFailed(errno == EEXIST ? QStringLiteral("já existe um arquivo com esse nome") : systemError(errno));
    m_made.append(name);
    QFile::remove(temporary);
}

void PhotoCopies::sync()
{
    // The lock is held on the folder itself: its descriptor is the one to sync.
    if (!m_made.isEmpty() && ::fsync(m_lock.get()) != 0)
        fail(QStringLiteral("não foi possível gravar no disco"), m_folder, errno);
}

void PhotoCopies::commit()
{
    m_committed = true;
    m_journal.reset();
    QFile::remove(QDir(m_folder).filePath(QLatin1String(JournalName)));
}

void PhotoCopies::undo()
{
    for (const QString &name : m_made)
        QFile::remove(QDir(m_folder).filePath(name));
    m_made.clear();
    m_journal.reset();
    QFile::remove(QDir(m_folder).filePath(QLatin1String(JournalName)));
    if (m_folderMade)
        QDir().rmdir(m_folder);
}

int finishInterruptedImports(const QString &dataFolder)
{
    const QString photoFolder = QDir(dataFolder).filePath(QStringLiteral("fotos"));
    if (!QFileInfo(photoFolder).isDir())
        return 0;
    const UniqueFd lock = lockFolder(photoFolder);
    return lock ? finishInFolder(photoFolder, dataFolder) : 0;
}
