#include "platform/PhotoPrefetch.h"

#include "platform/Pictures.h"
#include "store/core/AppError.h"
#include "store/bank/Bank.h"
#include "store/bank/BankPhotos.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>

#include <sys/stat.h>

namespace {

// What tells one version of a file from another: a photo replaced or rewritten since it was read
// differs in at least one of these.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;

    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path)
{
    struct stat info {};
    FileStamp stamp;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = info.st_size;
    stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changedNs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    stamp.inode = info.st_ino;
    stamp.device = info.st_dev;
    return stamp;
}

bool backgroundDecodable(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    return extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")
           || extension == QLatin1String("bmp") || extension == QLatin1String("ico");
}

struct Decoded {
    FileStamp stamp; // the file as it was before it was read, when the photo is a file
    QImage picture;
    bool ok = false;
};

// The photo `foto` read from `photos` and decoded as a box of size `visible` shows it. Throws
// AppError.
Decoded decodeFrom(BankPhotos &photos, const QString &foto, QSize visible)
{
    // The kind is judged first, as loadPicture judges it, wherever the photo is kept.
    requireKnownPictureKind(foto);
    const BankPhoto photo = photos.read(foto);
    Decoded result;
    if (photo.file.isEmpty()) {
        result.picture = decodePicture(photo.bytes, photo.extension, visible);
    } else {
        // Stamped before reading: a file changed while it is read never passes for unchanged.
        result.stamp = stampOf(photo.file);
        result.picture = loadPicture(photo.file, visible);
    }
    result.ok = true;
    return result;
}

} // namespace

struct PhotoPrefetch::Shared {
    QSize visible;
    // The bank's photos, one reader for the worker and one for the thread that takes them. The
    // worker's is only used by the worker, and replaced only when no worker runs.
    std::unique_ptr<BankPhotos> backgroundPhotos, photos;
    mutable std::mutex mutex;
    std::condition_variable changed; // a decode ended
    std::deque<QString> waiting;
    QString decoding;       // the path being decoded, empty when none
    bool running = false;   // the worker is started and has not yet seen an empty queue
    QSet<QString> wanted;   // the paths of the last list: a decode of any other is dropped
    QHash<QString, Decoded> done;
    int finished = 0;

    // The worker: decodes the waiting paths one by one until none is left.
    void work()
    {
        std::unique_lock lock(mutex);
        while (!waiting.empty()) {
            const QString path = waiting.front();
            waiting.pop_front();
            decoding = path;
            lock.unlock();

            Decoded result;
            try {
                result = decodeFrom(*backgroundPhotos, path, visible);
            } catch (const AppError &error) {
                // Reported to the user when the photo is taken, by decoding it again there; the
                // log says now why the photo was not ready, in case it is never taken.
                qWarning("A foto %s não pôde ser preparada de antemão e será lida de novo quando "
                         "for mostrada: %s",
                         qUtf8Printable(path), qUtf8Printable(error.text()));
            }

            lock.lock();
            decoding.clear();
            ++finished;
            if (wanted.contains(path))
                done.insert(path, result);
            changed.notify_all();
        }
        running = false;
        changed.notify_all();
    }
};

PhotoPrefetch::PhotoPrefetch(QSize visible, const Bank &bank) : d(std::make_unique<Shared>())
{
    d->visible = visible;
    useBank(bank);
}

void PhotoPrefetch::useBank(const Bank &bank)
{
    stop();
    d->backgroundPhotos = bank.photos(PhotoThread::Other);
    d->photos = bank.photos(PhotoThread::Screens);
}

PhotoPrefetch::~PhotoPrefetch()
{
    stop();
}

void PhotoPrefetch::prefetch(const QStringList &paths)
{
    std::unique_lock lock(d->mutex);
    d->waiting.clear();
    d->wanted.clear();
    QHash<QString, Decoded> kept;
    for (const QString &path : paths) {
        if (path.isEmpty() || !backgroundDecodable(path) || d->wanted.contains(path))
            continue;
        d->wanted.insert(path);
        if (const auto it = d->done.constFind(path); it != d->done.cend())
            kept.insert(path, it.value());
        else if (path != d->decoding) // one under way is kept when it ends
            d->waiting.push_back(path);
    }
    d->done = kept;
    if (!d->running && !d->waiting.empty()) {
        // A worker that ran out has nothing left to do but return (it cleared `running` under
        // the lock held here), so the new thread taking its place, which joins it first, does
        // not wait on this lock.
        try {
            m_worker = std::jthread([shared = d.get()] { shared->work(); });
            d->running = true;
        } catch (const std::system_error &error) {
            // No thread to be had: every photo is decoded when it is taken. The user sees
            // nothing of it but slower photos, so the log says why.
            qWarning("Não foi possível iniciar a leitura das fotos de antemão (%s); cada foto "
                     "será lida quando for mostrada.",
                     qUtf8Printable(QString::fromLocal8Bit(error.what())));
            d->waiting.clear();
        }
    }
}

QImage PhotoPrefetch::take(const QString &path)
{
    {
        std::unique_lock lock(d->mutex);
        // Under way: waiting for it costs less than decoding it again.
        // (No path is ever decoded in the background: `decoding` is empty when none is.)
        d->changed.wait(lock, [&] { return path.isEmpty() || d->decoding != path; });
        if (const auto it = d->done.constFind(path); it != d->done.cend()) {
            if (it->ok && (!d->photos->changesInPlace() || it->stamp == stampOf(path)))
                return it->picture;
            d->done.erase(it);
        }
        // Not started yet: it is decoded here instead.
        d->waiting.erase(std::remove(d->waiting.begin(), d->waiting.end(), path), d->waiting.end());
    }
    const Decoded result = decodeFrom(*d->photos, path, d->visible);
    // Kept until the next list leaves it out: the editor lists the photo on screen with its
    // neighbours, so that moving back to it costs nothing.
    std::unique_lock lock(d->mutex);
    d->done.insert(path, result);
    return result.picture;
}

void PhotoPrefetch::stop()
{
    {
        std::unique_lock lock(d->mutex);
        d->waiting.clear();
        d->wanted.clear();
        d->done.clear();
    }
    if (m_worker.joinable())
        m_worker.join();
}

bool PhotoPrefetch::idle() const
{
    std::unique_lock lock(d->mutex);
    return !d->running;
}

int PhotoPrefetch::decodedInBackground() const
{
    std::unique_lock lock(d->mutex);
    return d->finished;
}
