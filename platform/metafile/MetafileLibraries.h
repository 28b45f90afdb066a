#pragma once
// The work of the metafile libraries, libemf2svg and libwmf: old C code that damaged files have
// crashed, hung and run out of memory. The game never calls this itself; the decoder process
// (jornada-metarquivo) does, one file per process, so that whatever these libraries do to a
// process ends with that process. The fuzz targets and the benchmark call it directly.
#include <QByteArray>

// libwmf failed on a file without saying why: the file is damaged, or libwmf lacks the faces it
// needs for every file. Only the caller can tell which (see missingWmfFonts).
struct WmfLibraryFailed {};

// The SVG document that libemf2svg makes of an EMF. A header whose sizes do not fit the file is
// refused before libemf2svg sees it, and so is an SVG text beyond MaxEmfSvgBytes. Throws AppError.
QByteArray emfToSvg(const QByteArray &data);

// The PNG that libwmf's bitmap renderer makes of a WMF at its display size on a MetafileDpi
// screen, drawn on an opaque white page. A header whose sizes do not fit the file, or a record
// that selects an object that is not there, is refused before libwmf reads it; libwmf's
// allocations are held to `memoryBudget` ("O metarquivo exige memória demais"). Throws AppError,
// or WmfLibraryFailed.
QByteArray wmfToPng(const QByteArray &data, qint64 memoryBudget);
