#pragma once
// Picture files, decoded by their file-name extension: "jpg"/"jpeg" (libjpeg), "bmp" and "ico"
// (Qt's readers), "emf" (libemf2svg) and "wmf" (libwmf). Decoding never ends the process: a
// missing, unreadable or corrupt file throws AppError with a text that says why.
#include <QImage>
#include <QSize>
#include <QString>

// Loads the picture at `path`. An empty path or an unlisted extension fails with
// "Unknown picture file extension (.xyz)". With a valid `visible` size, the picture may come
// back as its centre region of that size (one pixel row and column more where the difference is
// odd, rounded as the box centres it), since that is all a box of that size shows; the pixels
// are the same as those of a full decode cut to that region.
QImage loadPicture(const QString &path, const QSize &visible = QSize());

// The same from bytes already in memory (resources), with the extension given apart.
QImage decodePicture(const QByteArray &data, const QString &extension,
                     const QSize &visible = QSize());
