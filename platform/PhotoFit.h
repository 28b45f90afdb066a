#pragma once
// Copies of large photos fitted to the photo box. The box shows a photo at its own size, centred:
// of a phone's 4000 x 3000 photo it shows a few square centimetres of the middle. A photo much
// larger than the box is offered (by the editor) or given (by the import) a copy that shows
// whole in it, which the bank keeps (BankPhotos::keepBytes); the original stays as it is.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// The photo box of the question screen and of the editor.
inline constexpr QSize PhotoBoxSize(137, 177);

// Whether a picture of `size` gets a fitted copy: more than twice the box in either direction.
bool wantsFittedCopy(const QSize &size);

// `picture` fitted to the box: scaled smoothly, keeping its proportions, to cover the whole box,
// and cut to it around the centre.
QImage fittedToBox(const QImage &picture);

struct FittedCopy {
    QSize original;   // the size of the photo it was made from
    QImage picture;   // what the box shows
    QByteArray bytes; // its file: JPEG, or PNG for a picture with transparency
    QString name;     // the file's name: the photo's own with "-ajustada" ("praia-ajustada.jpg")
};

// The fitted copy of the picture file at `path`, or none when the box shows it nearly whole
// already (see wantsFittedCopy()) or it is a metafile (drawn at its own size, never large).
// The size is read from the file's header first; only a large photo is decoded, through
// loadPicture(). Throws AppError when it cannot be read.
std::optional<FittedCopy> fittedCopyOf(const QString &path);
