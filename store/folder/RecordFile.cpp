#include "store/folder/RecordFile.h"

#include "store/core/AppError.h"
#include "store/core/DataDir.h"
#include "store/core/Handles.h"
#include "store/core/Win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The record file is read and written with POSIX calls rather than QFile or QSaveFile: those
// hide the system's error number, and the error texts shown to the user are chosen by it.

namespace {

QString ioErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("File not found");
    case ENAMETOOLONG:
    case EINVAL:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(error);
    }
}

[[noreturn]] void fail(int error) { throw AppError(ioErrorText(error)); }

// Bytes that end a number and that are skipped before it: spaces, tabs, line ends and the other
// control characters.
bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// A signed 32-bit decimal integer: an optional sign and at least one digit, nothing else.
bool parseInt32(const QByteArray &text, qint32 &value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > qint64(1) << 31)
            return false;
    }
    const qint64 result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<qint32>::max())
        return false;
    value = qint32(result);
    return true;
}

// Reads the rest of the file, into one buffer sized by the file's own size when it gives one:
// a record file may be large, and the bytes are not copied on their way in.
// Far more than any name and score: a larger file is no record file and is not read.
constexpr qint64 MaxRecordBytes = qint64(1) << 20;

[[noreturn]] void tooLarge(const QString &path, qint64 size)
{
    throw AppError(QStringLiteral("Recorde.txt está danificado: tem %1 bytes, muito mais do que um nome e uma "
                                  "pontuação; ele não foi lido.\nArquivo: %2")
                       .arg(size)
                       .arg(path));
}

// Reads the file to its end; one that grows past MaxRecordBytes while it is read is refused too.
QByteArray readAll(const UniqueFd &fd, qint64 sizeHint, const QString &path)
{
    QByteArray data;
    data.resize(qsizetype(std::clamp<qint64>(sizeHint, 0, MaxRecordBytes)) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled > MaxRecordBytes)
            tooLarge(path, filled);
        if (filled == data.size())
            data.resize(data.size() * 2);
        const ssize_t n = ::read(fd.get(), data.data() + filled, size_t(data.size() - filled));
        if (n == 0) {
            data.truncate(filled);
            return data;
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        filled += n;
    }
}

// Writes all of `contents` to `fd`. Returns 0, or the error number of the failed write.
int writeAll(const UniqueFd &fd, const QByteArray &contents)
{
    qsizetype written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd.get(), contents.constData() + written, size_t(contents.size() - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        written += n;
    }
    return 0;
}

// Writes `contents` over the record file itself, for a folder that cannot take a new file. A
// failure midway leaves the file cut short: there is nowhere else to keep the record meanwhile.
void writeInPlace(const QByteArray &target, const QByteArray &contents)
{
    UniqueFd fd(::open(target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!fd)
        fail(errno);
    int error = writeAll(fd, contents);
    if (error == 0 && ::fsync(fd.get()) != 0)
        error = errno;
    if (const int closeError = fd.close(); error == 0)
        error = closeError;
    if (error != 0)
        fail(error);
}

// The temporary a write fills before it becomes the record file is named after that file:
// `prefix` followed by six letters or digits.
constexpr int temporarySuffixLength = 6;

// Removes the temporaries of earlier writes that were killed before they could remove their own.
// A write locks its temporary until it is done with it, so one still being written is left alone.
void removeLeftoverTemporaries(const QString &directory, const QString &prefix)
{
    const QStringList names = QDir(directory).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        if (!name.startsWith(prefix) || name.size() != prefix.size() + temporarySuffixLength)
            continue;
        const QByteArray leftover = QFile::encodeName(directory + QLatin1Char('/') + name);
        const UniqueFd fd(::open(leftover.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(leftover.constData());
    }
}

} // namespace

QString recordFilePath() { return dataFile(QStringLiteral("Recorde.txt")); }

bool ReadRecord(const QString &path, QString &name, qint32 &points)
{
    const QByteArray nativePath = QFile::encodeName(path);
    QByteArray data;
    {
        // Not blocking: a named pipe put in the record file's place must not stall the game.
        const UniqueFd fd(::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!fd) {
            if (errno == ENOENT || errno == ENOTDIR)
                return false;
            fail(errno);
        }
        struct stat status {};
        if (::fstat(fd.get(), &status) != 0)
            fail(errno);
        if (S_ISDIR(status.st_mode))
            throw AppError(ioErrorText(EISDIR)
                           + QStringLiteral("\nRecorde.txt é uma pasta, não um arquivo: %1").arg(path));
        if (!S_ISREG(status.st_mode))
            throw AppError(QStringLiteral("Recorde.txt não é um arquivo comum; ele não foi lido.\nArquivo: %1").arg(path));
        if (status.st_size > MaxRecordBytes)
            tooLarge(path, status.st_size);
        data = readAll(fd, status.st_size, path);
    }

    // The byte 0x1A marks the end of a text file.
    const qsizetype end = data.indexOf('\x1a');
    if (end >= 0)
        data.truncate(end);

    // The points: the first run of non-blank characters after line 1, at most 32 of them. They
    // are parsed first, so that line 1 can then be made the name inside the same buffer.
    const qsizetype lineEnd = data.indexOf('\n');
    qsizetype i = lineEnd < 0 ? data.size() : lineEnd + 1;
    while (i < data.size() && isBlank(data[i]))
        ++i;
    qint32 value = 0;
    bool valid = true;
    if (i < data.size()) {
        qsizetype runEnd = i;
        while (runEnd < data.size() && !isBlank(data[runEnd]) && runEnd - i < 32)
            ++runEnd;
        valid = parseInt32(data.mid(i, runEnd - i), value);
    }

    // Line 1, whole: up to LF; the CR of a CR LF, and any CR alone, are not part of the text.
    // They are squeezed out in place.
    char *bytes = data.data();
    const qsizetype lineLength = lineEnd < 0 ? data.size() : lineEnd;
    qsizetype kept = 0;
    for (qsizetype k = 0; k < lineLength; ++k)
        if (bytes[k] != '\r')
            bytes[kept++] = bytes[k];
    data.truncate(kept);
    name = fromWin1252(data);
    data = QByteArray();

    if (!valid)
        throw AppError(QStringLiteral("Invalid numeric input"));
    points = value;
    return true;
}

void WriteRecord(const QString &path, const QString &name, qint32 points)
{
    if (path.isEmpty())
        fail(EINVAL);
    // A line break inside the name would turn the rest of the name into the points line.
    QString oneLine = name;
    for (QChar &c : oneLine)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0x1a))
            c = QLatin1Char(' ');
    const QByteArray contents = toWin1252(oneLine) + "\r\n" + QByteArray::number(points) + "\r\n";

    // The new contents go to a file of their own beside the target and replace it only once they
    // are complete and on disk, so the record already there survives any failure.
    QFileInfo info(path);
    if (info.isSymLink())
        info = QFileInfo(info.symLinkTarget());
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    const QString directory = info.absolutePath();

    // A record file the user may not write stays as it is, although the folder alone would let
    // it be replaced. A file without any write permission is read-only for everyone, root
    // included, whom the permission check lets write anything.
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (exists) {
        if ((old.st_mode & 0222) == 0)
            fail(EACCES);
        if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
            fail(errno);
    }

    const QString temporaryPrefix = info.fileName() + QStringLiteral(".tmp-");
    removeLeftoverTemporaries(directory, temporaryPrefix);

    // The name is made here rather than by mkstemp, which would leave the file readable by its
    // owner alone: a record file written for the first time gets the permissions of any new
    // file, 0666 less the umask.
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray temporary;
    UniqueFd fd;
    for (int attempt = 0; !fd; ++attempt) {
        QString name = temporaryPrefix;
        for (int i = 0; i < temporarySuffixLength; ++i)
            name += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet - 1))]);
        temporary = QFile::encodeName(directory + QLatin1Char('/') + name);
        fd.reset(::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        // A folder that only an administrator may change, of a shared installation, can still
        // hold a record file the user may write: that file is then written where it is.
        if (!fd && exists && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            writeInPlace(target, contents);
            return;
        }
        if (!fd && (errno != EEXIST || attempt >= 100))
            fail(errno);
    }
    // Held until the temporary has become the record file, so that no other write takes it for
    // a leftover.
    ::flock(fd.get(), LOCK_EX);
    // The temporary is removed while still locked, then closed by `fd`.
    auto abandon = [&](int error) {
        ::unlink(temporary.constData());
        fail(error);
    };

    if (exists)
        ::fchmod(fd.get(), old.st_mode & 07777);

    if (const int error = writeAll(fd, contents))
        abandon(error);
    if (::fsync(fd.get()) != 0)
        abandon(errno);
    if (::rename(temporary.constData(), target.constData()) != 0)
        abandon(errno);
    // The contents are on disk already; closing ends the lock.
    fd.reset();

    // Make the rename itself durable; a failure here no longer puts the record at risk.
    const UniqueFd folder(::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder)
        ::fsync(folder.get());
}
