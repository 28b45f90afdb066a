#pragma once
// The decoders behind loadPicture and decodePicture, one per kind of picture file. Each returns
// a picture in Format_RGB32 or Format_ARGB32, or throws AppError with a text that says why not.
#include <QImage>
#include <QRect>

#include <QString>
#include <QStringList>

class QByteArray;
class QSize;

// Pictures larger than this many pixels are refused rather than risk exhausting memory; the
// largest camera photos stay well below it.
constexpr qint64 MaxPicturePixels = qint64(16384) * 16384;

// The part of a picture of size `picture` that a centring box of size `visible` shows: in each
// direction where the picture is larger, `visible` pixels starting at half the difference
// (rounded toward zero); elsewhere the whole picture. An invalid or empty `visible` means the
// whole picture.
QRect pictureRegion(const QSize &picture, const QSize &visible);

// JPEG through libjpeg. With a valid `visible`, only pictureRegion() is decoded, and its pixels
// are those a full decode has there.
QImage decodeJpeg(const QByteArray &data, const QSize &visible);

// Enhanced metafile (libemf2svg, drawn by Qt SVG), at the size of its frame on a 96 dpi screen.
QImage decodeEmf(const QByteArray &data);

// The folder where libwmf finds the standard PostScript faces (URW's) that it draws text with.
QString wmfFontFolder();

// The files of libwmf's standard faces that are not readable in `folder`, as full paths.
QStringList missingWmfFonts(const QString &folder);

// Windows metafile (libwmf's bitmap renderer), at its display size on a 96 dpi screen. libwmf
// cannot draw any metafile without its faces, and then fails as on a damaged file; so when it
// fails, the faces are looked for in `fontFolder`, and if some are missing the error says that
// the reader cannot start and names them, instead of calling the file damaged.
QImage decodeWmf(const QByteArray &data, const QString &fontFolder = wmfFontFolder());
