#include "platform/Pictures.h"

#include "platform/PictureDecoders.h"
#include "store/core/AppError.h"
#include "store/core/Handles.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Kind { Unknown, Jpeg, Bitmap, Icon, Png, Gif, Emf, Wmf };

Kind kindOf(const QString &extension)
{
    const QString key = extension.toLower();
    if (key == u"jpg" || key == u"jpeg")
        return Kind::Jpeg;
    if (key == u"bmp")
        return Kind::Bitmap;
    if (key == u"ico")
        return Kind::Icon;
    if (key == u"png")
        return Kind::Png;
    if (key == u"gif")
        return Kind::Gif;
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

// Why a photo's file could not be opened, in the words of the game: the reasons a path typed
// or chosen meets are said in Portuguese; any other keeps the system's words.
QString openFailure(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("o arquivo não existe");
    case EACCES:
    case EPERM:
        return QStringLiteral("não há permissão para ler o arquivo");
    case EISDIR:
        return QStringLiteral("é uma pasta, não um arquivo");
    case ENOTDIR:
        return QStringLiteral("uma parte do caminho não é uma pasta");
    case ELOOP:
        return QStringLiteral("o caminho passa por links simbólicos demais");
    case ENAMETOOLONG:
        return QStringLiteral("o caminho é longo demais");
    case EIO:
        return QStringLiteral("erro de leitura no disco");
    default:
        return QStringLiteral("erro do sistema: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

[[noreturn]] void cannotOpen(const QString &path, int error)
{
    throw AppError(QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2").arg(path, openFailure(error)));
}

// An open picture file, closed when this goes out of scope. Opened with plain POSIX calls, so
// that a failure carries the system's own reason (and non-blocking, so that a named pipe given as
// a picture cannot stall the program).
class PictureFile {
public:
    explicit PictureFile(const QString &path) : m_path(path)
    {
        const QByteArray name = QFile::encodeName(path);
        m_fd.reset(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!m_fd)
            cannotOpen(path, errno);
        struct stat info {};
        if (::fstat(m_fd.get(), &info) != 0)
            fail(errno);
        if (S_ISDIR(info.st_mode))
            fail(EISDIR);
        m_size = info.st_size;
    }

    qint64 size() const { return m_size; }

    // The descriptor, for handing over to a stdio stream or a QFile that closes it.
    UniqueFd &descriptor() { return m_fd; }

    // Reads the whole file, which must be no larger than `limit`.
    QByteArray readAll(qint64 limit)
    {
        if (m_size > limit)
            tooLarge();
        QByteArray bytes;
        bytes.reserve(qsizetype(m_size));
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(m_fd.get(), chunk, sizeof chunk);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EAGAIN)
                    break;
                fail(errno);
            }
            if (n == 0)
                break;
            if (bytes.size() + n > limit)
                tooLarge();
            bytes.append(chunk, n);
        }
        return bytes;
    }

private:
    [[noreturn]] void fail(int error) { cannotOpen(m_path, error); }
    [[noreturn]] void tooLarge()
    {
        throw AppError(QStringLiteral("O arquivo de imagem \"%1\" é grande demais").arg(m_path));
    }

    QString m_path;
    UniqueFd m_fd;
    qint64 m_size = 0;
};

// Whether the file behind `device` holds the pixels that its bitmap header promises (see
// dibPixelsFit). A file that does not start as a bitmap is left to Qt's reader to judge.
bool bitmapDataFits(QIODevice *device)
{
    constexpr qsizetype FileHeaderSize = 14;
    const QByteArray head = device->peek(FileHeaderSize + 40);
    if (head.size() < FileHeaderSize + 12 || !head.startsWith("BM"))
        return true;
    const auto *b = reinterpret_cast<const uchar *>(head.constData());
    const qint64 dataOffset = qFromLittleEndian<quint32>(b + 10);
    return dibPixelsFit(b + FileHeaderSize, head.size() - FileHeaderSize,
                        device->size() - dataOffset);
}

// Bitmaps, icons, PNG and GIF go through Qt's readers (icons and GIF through Qt's "ico" and
// "gif" image plugins). The size in the header is judged before any pixel is decoded. Of a file
// with several images (an icon's sizes, an animated GIF's frames), the first is taken. The
// picture and its 32-bit copy must fit in MaxDecoderBytes.
QImage readWithQt(QIODevice *device, const char *format, const QString &invalidText)
{
    if (qstrcmp(format, "bmp") == 0 && !bitmapDataFits(device))
        throw AppError(invalidText);
    // Qt's GIF reader looks through the whole file for a picture: one that does not start as a
    // GIF is refused here, at its first bytes.
    if (qstrcmp(format, "gif") == 0 && !device->peek(6).startsWith("GIF8"))
        throw AppError(invalidText);
    QImageReader reader(device, format);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(int(MaxDecoderBytes / (1024 * 1024)));
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > MaxDecoderBytes)
        throw AppError(QStringLiteral("Imagem grande demais (%1 x %2 pixels)")
                           .arg(size.width())
                           .arg(size.height()));
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

QString invalidText(Kind kind)
{
    switch (kind) {
    case Kind::Bitmap:
        return QStringLiteral("O bitmap não é válido");
    case Kind::Png:
        return QStringLiteral("A imagem PNG não é válida");
    case Kind::Gif:
        return QStringLiteral("A imagem GIF não é válida");
    default:
        return QStringLiteral("O ícone não é válido");
    }
}

const char *qtFormat(Kind kind)
{
    switch (kind) {
    case Kind::Bitmap:
        return "bmp";
    case Kind::Png:
        return "png";
    case Kind::Gif:
        return "gif";
    default:
        return "ico";
    }
}

QImage decode(const QByteArray &data, Kind kind, const QString &extension, const QSize &visible)
{
    switch (kind) {
    case Kind::Jpeg:
        return decodeJpeg(data, visible);
    case Kind::Bitmap:
    case Kind::Icon:
    case Kind::Png:
    case Kind::Gif: {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        return cutToVisible(readWithQt(&buffer, qtFormat(kind), invalidText(kind)), visible);
    }
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

QString pictureDescription(const QImage &picture, const QString &path)
{
    const QString described = picture.text(PictureDescriptionKey).simplified();
    return described.isEmpty() ? QFileInfo(path).fileName() : described;
}

QImage loadPicture(const QString &path, const QSize &visible)
{
    // The extension is judged first: a path with an unknown extension fails with that text
    // whether or not the file exists.
    const QString extension = extensionOf(path);
    const Kind kind = kindOf(extension);
    if (kind == Kind::Unknown)
        unknownExtension(extension);
    PictureFile file(path);
    // JPEG, bitmaps, icons and PNG are decoded straight from the file, which is read only as far
    // as the decoder gets: memory follows the picture, not the file, and a large file that is no
    // picture fails at its first bytes. GIF and metafiles are read whole, and only when of sane
    // size.
    switch (kind) {
    case Kind::Jpeg: {
        const UniqueFile stream = streamOf(file.descriptor(), "rb");
        if (!stream)
            cannotOpen(path, errno);
        return decodeJpegFile(stream.get(), visible);
    }
    case Kind::Gif:
        return decode(file.readAll(MaxGifBytes), kind, extension, visible);
    case Kind::Bitmap:
    case Kind::Icon:
    case Kind::Png: {
        QFile device;
        // The QFile owns the descriptor only once it is open; until then `file` does.
        if (!device.open(file.descriptor().get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            throw AppError(invalidText(kind));
        file.descriptor().release();
        return cutToVisible(readWithQt(&device, qtFormat(kind), invalidText(kind)), visible);
    }
    default:
        return decode(file.readAll(MaxMetafileBytes), kind, extension, visible);
    }
}

void requireKnownPictureKind(const QString &path)
{
    const QString extension = extensionOf(path);
    if (kindOf(extension) == Kind::Unknown)
        unknownExtension(extension);
}

QImage decodePicture(const QByteArray &data, const QString &extension, const QSize &visible)
{
    const QString bare = extension.startsWith(u'.') ? extension.mid(1) : extension;
    return decode(data, kindOf(bare), bare, visible);
}
