#pragma once
// Picture files, decoded by their file-name extension: "jpg"/"jpeg" (libjpeg), "bmp", "ico",
// "png" and "gif" (Qt's readers), "emf" (libemf2svg) and "wmf" (libwmf), the last two in a decoder process of
// their own (MetafileProcess). Decoding never ends the process: a missing, unreadable or corrupt
// file throws AppError with a text that says why.
#include <QImage>
#include <QSize>
#include <QString>

// A picture may carry a description of what it shows, for screen readers: the image text under
// this key (a JPEG comment, a PNG text chunk). Qt's writers store it in the file the same way.
inline const QString PictureDescriptionKey = QStringLiteral("Description");

// What `picture` shows as its file describes it, or else the file name of `path`.
QString pictureDescription(const QImage &picture, const QString &path);

// Loads the picture at `path`. An empty path or an unlisted extension fails with
// "Unknown picture file extension (.xyz)". With a valid `visible` size, a picture larger than it
// comes back as the region that a box of that size shows when it centres the picture: in each
// direction where the picture is larger, the run of `visible` pixels starting at
// (picture size - visible size) / 2 (integer division). Its pixels are those of a full decode
// cut to that region.
QImage loadPicture(const QString &path, const QSize &visible = QSize());

// Throws loadPicture()'s error for a `path` whose extension names no picture kind it reads.
void requireKnownPictureKind(const QString &path);

// The same from bytes already in memory (resources), with the extension given apart.
QImage decodePicture(const QByteArray &data, const QString &extension,
                     const QSize &visible = QSize());
