#pragma once
// The decoders behind loadPicture and decodePicture, one per kind of picture file. Each returns
// a picture in Format_RGB32 or Format_ARGB32, or throws AppError with a text that says why not.
#include <QImage>
#include <QRect>

#include <QString>
#include <QStringList>

#include <cstdio>

class QByteArray;
class QSize;

// Pictures larger than this many pixels are refused rather than risk exhausting memory; the
// largest camera photos stay well below it.
constexpr qint64 MaxPicturePixels = qint64(16384) * 16384;

// Memory that a decoder library (libjpeg, libwmf) may take for one picture, beyond the picture
// itself. Headers can ask for any amount; past this the picture is refused with an error.
constexpr qint64 MaxDecoderBytes = qint64(256) * 1024 * 1024;

// A metafile larger than this is refused before it is read: metafiles are read whole, and real
// drawings are a few hundred kilobytes.
constexpr qint64 MaxMetafileBytes = qint64(16) * 1024 * 1024;

// The part of a picture of size `picture` that a centring box of size `visible` shows: in each
// direction where the picture is larger, `visible` pixels starting at half the difference
// (rounded toward zero); elsewhere the whole picture. An invalid or empty `visible` means the
// whole picture.
QRect pictureRegion(const QSize &picture, const QSize &visible);

// Whether a device-independent bitmap holds the pixels its header promises: `info` is its info
// header (`infoBytes` of it readable), `pixelBytes` the bytes there are for its pixels. Rows
// without compression take a fixed number of bytes, so a header claiming more rows than those
// bytes hold is damaged (a reader would allocate the whole picture and leave the rest blank).
// Run-length-encoded bitmaps may leave pixels out by design, and headers this does not know,
// pass: their readers judge them.
bool dibPixelsFit(const uchar *info, qint64 infoBytes, qint64 pixelBytes);

// JPEG through libjpeg. With a valid `visible`, only pictureRegion() is decoded, and its pixels
// are those a full decode has there.
QImage decodeJpeg(const QByteArray &data, const QSize &visible);
// The same from an open file, read as far as the decoder needs it and no further: a file that is
// not a JPEG fails after its first few kilobytes, whatever its size.
QImage decodeJpegFile(std::FILE *file, const QSize &visible);

// Enhanced metafile (libemf2svg, drawn by Qt SVG), at the size of its frame on a 96 dpi screen.
// A header whose sizes do not fit the file, a drawing larger than MaxMetafilePixels or an SVG
// text beyond MaxEmfSvgBytes is refused.
QImage decodeEmf(const QByteArray &data);

// The largest drawing a metafile is rendered at (pixels, and pixels in either direction): far
// beyond any photo box, while a drawing of this size still renders in a fraction of a second.
constexpr qint64 MaxMetafilePixels = qint64(4) * 1024 * 1024;
constexpr int MaxMetafileSide = 8192;
// The SVG text that libemf2svg may make of one EMF.
constexpr qint64 MaxEmfSvgBytes = qint64(32) * 1024 * 1024;

// The folder where libwmf finds the standard PostScript faces (URW's) that it draws text with.
QString wmfFontFolder();

// The files of libwmf's standard faces that are not readable in `folder`, as full paths.
QStringList missingWmfFonts(const QString &folder);

// Windows metafile (libwmf's bitmap renderer), at its display size on a 96 dpi screen. A header
// whose sizes do not fit the file is refused before libwmf reads it, and libwmf's allocations
// are held to MaxDecoderBytes ("O metarquivo exige memória demais"). libwmf
// cannot draw any metafile without its faces, and then fails as on a damaged file; so when it
// fails, the faces are looked for in `fontFolder`, and if some are missing the error says that
// the reader cannot start and names them, instead of calling the file damaged.
// `memoryBudget` is what libwmf may allocate, MaxDecoderBytes unless a caller needs less.
QImage decodeWmf(const QByteArray &data, const QString &fontFolder = wmfFontFolder(),
                 qint64 memoryBudget = MaxDecoderBytes);
