#include "platform/Pictures.h"

#include "platform/PictureDecoders.h"
#include "store/AppError.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A picture file larger than this is refused before it is read.
constexpr qint64 MaxFileBytes = qint64(1) << 30;

enum class Kind { Unknown, Jpeg, Bitmap, Icon, Emf, Wmf };

Kind kindOf(const QString &extension)
{
    const QString key = extension.toLower();
    if (key == u"jpg" || key == u"jpeg")
        return Kind::Jpeg;
    if (key == u"bmp")
        return Kind::Bitmap;
    if (key == u"ico")
        return Kind::Icon;
    if (key == u"emf")
        return Kind::Emf;
    if (key == u"wmf")
        return Kind::Wmf;
    return Kind::Unknown;
}

// The text after the last dot of the file name (the part after the last '/' or '\', so that
// paths written on Windows split the same way); empty when the name has no dot.
QString extensionOf(const QString &path)
{
    const qsizetype nameStart = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot >= nameStart ? path.mid(dot + 1) : QString();
}

[[noreturn]] void unknownExtension(const QString &extension)
{
    throw AppError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
}

[[noreturn]] void cannotOpen(const QString &path, int error)
{
    throw AppError(QStringLiteral("Cannot open file \"%1\". %2")
                       .arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

// Reads the whole file. Plain POSIX calls, so that a failure carries the system's own reason.
// (Non-blocking, so that a named pipe given as a picture cannot stall the program.)
QByteArray readFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        cannotOpen(path, errno);
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer {fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0)
        cannotOpen(path, errno);
    if (S_ISDIR(info.st_mode))
        cannotOpen(path, EISDIR);
    if (info.st_size > MaxFileBytes)
        throw AppError(QStringLiteral("Picture file \"%1\" is too large").arg(path));

    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN)
                break;
            cannotOpen(path, errno);
        }
        if (n == 0)
            break;
        if (bytes.size() + n > MaxFileBytes)
            throw AppError(QStringLiteral("Picture file \"%1\" is too large").arg(path));
        bytes.append(chunk, n);
    }
    return bytes;
}

// Bitmaps and icons go through Qt's readers (the icon reader is Qt's "ico" image plugin). Of an
// icon file with several images, the first is taken.
QImage readWithQt(const QByteArray &data, const char *format, const QString &invalidText)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(int(MaxPicturePixels * 4 / (1024 * 1024)));
    QImage image = reader.read();
    if (image.isNull())
        throw AppError(invalidText);
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

QImage cutToVisible(const QImage &image, const QSize &visible)
{
    const QRect region = pictureRegion(image.size(), visible);
    return region.size() == image.size() ? image : image.copy(region);
}

QImage decode(const QByteArray &data, Kind kind, const QString &extension, const QSize &visible)
{
    switch (kind) {
    case Kind::Jpeg:
        return decodeJpeg(data, visible);
    case Kind::Bitmap:
        return cutToVisible(readWithQt(data, "bmp", QStringLiteral("Bitmap image is not valid")),
                            visible);
    case Kind::Icon:
        return cutToVisible(readWithQt(data, "ico", QStringLiteral("Icon image is not valid")),
                            visible);
    case Kind::Emf:
        return cutToVisible(decodeEmf(data), visible);
    case Kind::Wmf:
        return cutToVisible(decodeWmf(data), visible);
    case Kind::Unknown:
        break;
    }
    unknownExtension(extension);
}

} // namespace

QRect pictureRegion(const QSize &picture, const QSize &visible)
{
    int left = 0, top = 0, width = picture.width(), height = picture.height();
    // A box without area shows nothing to crop to; the whole picture is kept.
    if (!visible.isEmpty()) {
        if (width > visible.width()) {
            left = (width - visible.width()) / 2;
            width = visible.width();
        }
        if (height > visible.height()) {
            top = (height - visible.height()) / 2;
            height = visible.height();
        }
    }
    return QRect(left, top, width, height);
}

QImage loadPicture(const QString &path, const QSize &visible)
{
    // The extension is judged first: a path with an unknown extension fails with that text
    // whether or not the file exists.
    const QString extension = extensionOf(path);
    const Kind kind = kindOf(extension);
    if (kind == Kind::Unknown)
        unknownExtension(extension);
    return decode(readFile(path), kind, extension, visible);
}

QImage decodePicture(const QByteArray &data, const QString &extension, const QSize &visible)
{
    const QString bare = extension.startsWith(u'.') ? extension.mid(1) : extension;
    return decode(data, kindOf(bare), bare, visible);
}
