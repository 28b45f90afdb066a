#include "platform/PhotoFit.h"

#include "platform/Pictures.h"
#include "store/core/AppError.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

bool wantsFittedCopy(const QSize &size)
{
    return size.width() > 2 * PhotoBoxSize.width() || size.height() > 2 * PhotoBoxSize.height();
}

QImage fittedToBox(const QImage &picture)
{
    const QImage scaled = picture.scaled(PhotoBoxSize, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    return scaled.copy((scaled.width() - PhotoBoxSize.width()) / 2, (scaled.height() - PhotoBoxSize.height()) / 2,
                       PhotoBoxSize.width(), PhotoBoxSize.height());
}

std::optional<FittedCopy> fittedCopyOf(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (suffix == u"emf" || suffix == u"wmf")
        return std::nullopt;
    // The header's size decides; a header Qt cannot read leaves the judging to the loader.
    QImageReader header(path);
    const QSize size = header.size();
    if (size.isValid() && !wantsFittedCopy(size))
        return std::nullopt;
    const QImage whole = loadPicture(path);
    if (!wantsFittedCopy(whole.size()))
        return std::nullopt;

    FittedCopy copy;
    copy.original = whole.size();
    copy.picture = fittedToBox(whole);
    const bool transparent = copy.picture.hasAlphaChannel();
    QBuffer buffer(&copy.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, transparent ? "png" : "jpeg");
    writer.setQuality(92);
    if (!writer.write(copy.picture))
        throw AppError(QStringLiteral("Não foi possível fazer a cópia ajustada de \"%1\": %2")
                           .arg(path, writer.errorString()));
    copy.name = info.completeBaseName() + QStringLiteral("-ajustada.") + (transparent ? u"png"_qs : u"jpg"_qs);
    return copy;
}
