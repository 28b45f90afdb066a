// Metafiles, decoded in the decoder process (MetafileProcess): an EMF comes back as SVG text,
// drawn here by Qt SVG; a WMF comes back as the PNG of libwmf's bitmap renderer.
#include "platform/PictureDecoders.h"

#include "platform/MetafileProcess.h"
#include "platform/formats/EmfHeader.h"
#include "store/core/AppError.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace {

// libwmf failed on a file: either the file is damaged, or libwmf lacks the faces it needs for
// every file.
[[noreturn]] void wmfFailed(const QString &fontFolder)
{
    const QStringList missing = missingWmfFonts(fontFolder);
    if (missing.isEmpty())
        throw AppError(QStringLiteral("O metarquivo não é válido"));
    const QString named = missing.size() == 1
        ? missing.first()
        : QStringLiteral("%1 e mais %2").arg(missing.first()).arg(missing.size() - 1);
    throw AppError(QStringLiteral("Não foi possível iniciar o leitor de metarquivos: arquivo de fonte "
                                  "não encontrado (%1); instale o pacote fonts-urw-base35")
                       .arg(named));
}

// Draws SVG text into a picture of `size`, mapping `viewBox` onto the whole picture. What the
// drawing leaves untouched stays transparent.
QImage renderSvg(const QByteArray &svg, const QRectF &viewBox, const QSize &size)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        invalidEmf();
    renderer.setViewBox(viewBox);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw AppError(QStringLiteral("Memória insuficiente para uma imagem de %1 x %2 pixels")
                           .arg(size.width())
                           .arg(size.height()));
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), size));
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

QString wmfFontFolder()
{
    // Where Debian's libwmf was built to look for the faces.
    return QStringLiteral("/usr/share/fonts/type1/urw-base35");
}

QStringList missingWmfFonts(const QString &folder)
{
    // The faces libwmf maps every metafile font to: Courier, Helvetica and Times in four styles,
    // and Symbol.
    static const char *const faces[] = {
        "NimbusMonoPS-Regular.t1", "NimbusMonoPS-Italic.t1", "NimbusMonoPS-Bold.t1",
        "NimbusMonoPS-BoldItalic.t1", "NimbusSans-Regular.t1", "NimbusSans-Italic.t1",
        "NimbusSans-Bold.t1", "NimbusSans-BoldItalic.t1", "NimbusRoman-Regular.t1",
        "NimbusRoman-Italic.t1", "NimbusRoman-Bold.t1", "NimbusRoman-BoldItalic.t1",
        "StandardSymbolsPS.t1",
    };
    const QDir dir(folder);
    QStringList missing;
    for (const char *face : faces) {
        const QFileInfo file(dir.filePath(QLatin1String(face)));
        if (!file.isFile() || !file.isReadable())
            missing.append(file.filePath());
    }
    return missing;
}

QImage decodeEmf(const QByteArray &data, const MetafileDecoder &decoder)
{
    // The header is judged here too, before a process is started for a file that is plainly
    // not a metafile; and it says where the drawing goes.
    const EmfPlacement placement = placeEmf(data);
    const MetafileOutcome outcome = runMetafileDecoder(MetafileKind::Emf, data, MaxDecoderBytes, decoder);
    switch (outcome.kind) {
    case MetafileOutcome::Decoded:
        return emfFromSvg(placement, outcome.bytes);
    case MetafileOutcome::Refused:
        throw AppError(QString::fromUtf8(outcome.bytes));
    case MetafileOutcome::LibraryFailed:
    case MetafileOutcome::Died:
        break;
    }
    invalidEmf();
}

QImage emfFromSvg(const EmfPlacement &placement, const QByteArray &svg)
{
    return renderSvg(svg, placement.viewBox, placement.size);
}

QImage decodeWmf(const QByteArray &data, const QString &fontFolder, qint64 memoryBudget,
                 const MetafileDecoder &decoder)
{
    const MetafileOutcome outcome = runMetafileDecoder(MetafileKind::Wmf, data, memoryBudget, decoder);
    switch (outcome.kind) {
    case MetafileOutcome::Decoded:
        return wmfFromPng(outcome.bytes);
    case MetafileOutcome::Refused:
        throw AppError(QString::fromUtf8(outcome.bytes));
    case MetafileOutcome::LibraryFailed:
        wmfFailed(fontFolder);
    case MetafileOutcome::Died:
        break;
    }
    throw AppError(QStringLiteral("O metarquivo não é válido"));
}

QImage wmfFromPng(const QByteArray &png)
{
    // libwmf paints the drawing on an opaque white page.
    const QImage image = QImage::fromData(png, "PNG");
    if (image.isNull())
        throw AppError(QStringLiteral("O metarquivo não é válido"));
    return image.convertToFormat(QImage::Format_RGB32);
}
