#include "store/RecordLock.h"

#include "store/AppError.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
    m_fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    const QDeadlineTimer deadline(waitMs);
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
            ::close(m_fd);
            m_fd = -1;
            throw AppError(QStringLiteral("O recorde está sendo gravado por outro programa; tente de novo."));
        }
        QThread::msleep(10);
    }
}

RecordLock::~RecordLock()
{
    // Closing the folder releases the lock.
    if (m_fd >= 0)
        ::close(m_fd);
}
