#pragma once
// The header of an enhanced metafile: whether its sizes fit the file, and where its drawing sits.
#include <QByteArray>
#include <QRectF>
#include <QSize>

// Where the SVG that libemf2svg writes of an EMF sits on the picture: the SVG's user space is the
// reference device's pixels, shifted so that the drawing's bounds start at (0, 0).
struct EmfPlacement {
    QRectF viewBox; // the picture's frame, in the SVG's user space
    QSize size;     // the picture's size in screen pixels
};

// Reads the EMR_HEADER record. The picture is the header's frame (in 0.01 mm) at MetafileDpi;
// the frame is turned into reference-device pixels with the device's size in pixels and in
// millimetres. A header whose frame says nothing usable falls back to the drawing's bounds, one
// device pixel to a screen pixel. A header whose sizes do not fit `data`, or whose drawing has
// no area, is refused ("O metarquivo avançado não é válido"), and so is a drawing larger than
// isSensibleMetafileSize allows.
EmfPlacement placeEmf(const QByteArray &data);

// Throws AppError("O metarquivo avançado não é válido").
[[noreturn]] void invalidEmf();
