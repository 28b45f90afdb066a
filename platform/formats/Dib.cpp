#include "platform/formats/Dib.h"

#include <QtEndian>

#include <cstdlib>

bool dibPixelsFit(const uchar *info, qint64 infoBytes, qint64 pixelBytes)
{
    if (infoBytes < 12)
        return true;
    const quint32 infoSize = qFromLittleEndian<quint32>(info);
    qint64 width = 0, height = 0, bitsPerPixel = 0;
    quint32 compression = 0;
    if (infoSize == 12) { // OS/2 core header
        width = qFromLittleEndian<quint16>(info + 4);
        height = qFromLittleEndian<quint16>(info + 6);
        bitsPerPixel = qFromLittleEndian<quint16>(info + 10);
    } else if (infoBytes >= 20) {
        width = qFromLittleEndian<qint32>(info + 4);
        height = std::abs(qint64(qFromLittleEndian<qint32>(info + 8))); // negative: top-down
        bitsPerPixel = qFromLittleEndian<quint16>(info + 14);
        compression = qFromLittleEndian<quint32>(info + 16);
    } else {
        return true;
    }
    constexpr quint32 Uncompressed = 0, BitFields = 3, AlphaBitFields = 6;
    if ((compression != Uncompressed && compression != BitFields && compression != AlphaBitFields)
        || width <= 0 || bitsPerPixel <= 0)
        return true;
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return pixelBytes >= 0 && height <= pixelBytes / rowBytes;
}
