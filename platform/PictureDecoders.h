#pragma once
// The decoders behind loadPicture and decodePicture, one per kind of picture file. Each returns
// a picture in Format_RGB32 or Format_ARGB32, or throws AppError with a text that says why not.
#include "platform/MetafileProcess.h"
#include "platform/formats/Dib.h"
#include "platform/formats/EmfHeader.h"
#include "platform/formats/PictureLimits.h"

#include <QImage>
#include <QRect>

#include <QString>
#include <QStringList>

#include <cstdio>

class QByteArray;
class QSize;

// The part of a picture of size `picture` that a centring box of size `visible` shows: in each
// direction where the picture is larger, `visible` pixels starting at half the difference
// (rounded toward zero); elsewhere the whole picture. An invalid or empty `visible` means the
// whole picture.
QRect pictureRegion(const QSize &picture, const QSize &visible);

// The description of a photo that a JPEG comment holds, as Qt's own JPEG reader and writer put it:
// "Description: text", or the whole comment when it is not "Key: value" with a one-word key.
// Comments that describe nothing ("Key: value" of another key, a program's "Created with ...")
// give the empty text. UTF-8, or Latin-1 when the bytes are not UTF-8.
QString descriptionFromComment(const QByteArray &comment);

// JPEG through libjpeg. With a valid `visible`, only pictureRegion() is decoded, and its pixels
// are those a full decode has there. The first comment that describes the photo becomes the
// picture's text PictureDescriptionKey.
QImage decodeJpeg(const QByteArray &data, const QSize &visible);
// The same from an open file, read as far as the decoder needs it and no further: a file that is
// not a JPEG fails after its first few kilobytes, whatever its size.
QImage decodeJpegFile(std::FILE *file, const QSize &visible);

// Enhanced metafile: libemf2svg in the decoder process makes SVG text of it, which Qt SVG draws
// at the size of the file's frame on a MetafileDpi screen. A header whose sizes do not fit the
// file, or a drawing larger than MaxMetafilePixels, is refused before the decoder starts; an SVG
// text beyond MaxEmfSvgBytes is refused; a file that the decoder does not survive, or that takes
// it beyond its limits, is "O metarquivo avançado não é válido".
QImage decodeEmf(const QByteArray &data, const MetafileDecoder &decoder = metafileDecoder());

// The half of decodeEmf done here: draws the SVG that libemf2svg made of an EMF where `placement`
// (placeEmf) puts it. What the drawing leaves untouched stays transparent.
QImage emfFromSvg(const EmfPlacement &placement, const QByteArray &svg);

// The folder where libwmf finds the standard PostScript faces (URW's) that it draws text with.
QString wmfFontFolder();

// The files of libwmf's standard faces that are not readable in `folder`, as full paths.
QStringList missingWmfFonts(const QString &folder);

// Windows metafile: libwmf's bitmap renderer in the decoder process draws it at its display size
// on a MetafileDpi screen. A header whose sizes do not fit the file is refused before libwmf
// reads it, and libwmf's allocations are held to `memoryBudget` ("O metarquivo exige memória
// demais"). libwmf cannot draw any metafile without its faces, and then fails as on a damaged
// file; so when it fails, the faces are looked for in `fontFolder`, and if some are missing the
// error says that the reader cannot start and names them, instead of calling the file damaged.
// A file that the decoder does not survive, or that takes it beyond its limits, is
// "O metarquivo não é válido".
QImage decodeWmf(const QByteArray &data, const QString &fontFolder = wmfFontFolder(),
                 qint64 memoryBudget = MaxDecoderBytes,
                 const MetafileDecoder &decoder = metafileDecoder());

// The half of decodeWmf done here: the picture of the PNG that libwmf drew.
QImage wmfFromPng(const QByteArray &png);
