#pragma once
// The bounds every picture reader keeps to, in the game and in the metafile decoder process.
#include <QtGlobal>

// Pictures larger than this many pixels are refused rather than risk exhausting memory; the
// largest camera photos stay well below it.
constexpr qint64 MaxPicturePixels = qint64(16384) * 16384;

// Memory that a decoder library (libjpeg, libwmf) may take for one picture, beyond the picture
// itself. Headers can ask for any amount; past this the picture is refused with an error.
constexpr qint64 MaxDecoderBytes = qint64(256) * 1024 * 1024;

// A metafile larger than this is refused before it is read: metafiles are read whole, and real
// drawings are a few hundred kilobytes.
constexpr qint64 MaxMetafileBytes = qint64(16) * 1024 * 1024;

// A GIF larger than this is refused before it is read: Qt's GIF reader reads on through a file
// until it finds a picture, so GIF files are read whole, and only when of sane size.
constexpr qint64 MaxGifBytes = qint64(32) * 1024 * 1024;

// The largest drawing a metafile is rendered at (pixels, and pixels in either direction): far
// beyond any photo box, while a drawing of this size still renders in a fraction of a second.
constexpr qint64 MaxMetafilePixels = qint64(4) * 1024 * 1024;
constexpr int MaxMetafileSide = 8192;

// The SVG text that libemf2svg may make of one EMF.
constexpr qint64 MaxEmfSvgBytes = qint64(32) * 1024 * 1024;

// Metafiles are shown at the size they have on a screen of this many pixels per inch.
constexpr double MetafileDpi = 96.0;

// Whether a metafile's drawing of this size is rendered (within MaxMetafileSide and
// MaxMetafilePixels, and not empty).
inline bool isSensibleMetafileSize(qint64 width, qint64 height)
{
    return width >= 1 && height >= 1 && width <= MaxMetafileSide && height <= MaxMetafileSide
        && width * height <= MaxMetafilePixels;
}
