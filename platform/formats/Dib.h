#pragma once
// Device-independent bitmaps, as BMP files and metafiles hold them.
#include <QtGlobal>

// Whether a device-independent bitmap holds the pixels its header promises: `info` is its info
// header (`infoBytes` of it readable), `pixelBytes` the bytes there are for its pixels. Rows
// without compression take a fixed number of bytes, so a header claiming more rows than those
// bytes hold is damaged (a reader would allocate the whole picture and leave the rest blank).
// Run-length-encoded bitmaps may leave pixels out by design, and headers this does not know,
// pass: their readers judge them.
bool dibPixelsFit(const uchar *info, qint64 infoBytes, qint64 pixelBytes);
