#include "store/folder/RecordLock.h"

#include "store/core/AppError.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>

namespace {

// A record is read, compared and written in a few milliseconds; a copy that holds it longer is
// stuck, and the player is told instead of waiting on it.
constexpr int waitMs = 5000;

} // namespace

RecordLock::RecordLock(const QString &recordPath)
{
    // The folder itself is locked, not the file: the file is replaced by a rename on every write,
    // and a lock on a file of its own would leave that file behind in the player's folder.
    const QByteArray folder = QFile::encodeName(QFileInfo(recordPath).absolutePath());
    UniqueFd fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd)
        return;
    const QDeadlineTimer deadline(waitMs);
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired())
            throw AppError(QStringLiteral("O recorde está sendo gravado por outro programa; tente de novo."));
        QThread::msleep(10);
    }
    // Closing the folder, when this hold ends, releases the lock.
    m_folder = std::move(fd);
}

RecordLock::~RecordLock() = default;
