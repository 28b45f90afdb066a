#include "platform/formats/EmfHeader.h"

#include "platform/formats/PictureLimits.h"
#include "store/core/AppError.h"

#include <QtEndian>

#include <array>
#include <cmath>
#include <cstring>

void invalidEmf()
{
    throw AppError(QStringLiteral("O metarquivo avançado não é válido"));
}

namespace {

// The fixed part of an EMR_HEADER record, the only part read here.
constexpr int EmfHeaderSize = 88;
using EmfHeader = std::array<uchar, EmfHeaderSize>;

qint32 readInt32(const EmfHeader &header, int offset)
{
    return qFromLittleEndian<qint32>(header.data() + offset);
}

} // namespace

EmfPlacement placeEmf(const QByteArray &data)
{
    constexpr qint32 EmrHeader = 1;
    constexpr qint32 EmfSignature = 0x464D4520; // " EMF"
    if (data.size() < EmfHeaderSize)
        invalidEmf();
    EmfHeader header;
    std::memcpy(header.data(), data.constData(), header.size());
    if (readInt32(header, 0) != EmrHeader || readInt32(header, 40) != EmfSignature)
        invalidEmf();
    // The header record, and the whole file as the header gives its size, lie inside the bytes
    // there are.
    const quint32 headerSize = quint32(readInt32(header, 4));
    const quint32 fileSize = quint32(readInt32(header, 48));
    if (headerSize < EmfHeaderSize || headerSize > quint64(data.size()) || fileSize < headerSize
        || fileSize > quint64(data.size()))
        invalidEmf();

    const qint64 boundsLeft = readInt32(header, 8), boundsTop = readInt32(header, 12);
    const qint64 boundsWidth = qint64(readInt32(header, 16)) - boundsLeft;
    const qint64 boundsHeight = qint64(readInt32(header, 20)) - boundsTop;
    // libemf2svg scales by the bounds' width: an empty or reversed one leaves it nothing to draw.
    if (boundsWidth <= 0 || boundsHeight <= 0)
        invalidEmf();

    const double frameLeft = readInt32(header, 24), frameTop = readInt32(header, 28);
    const double frameWidth = double(readInt32(header, 32)) - frameLeft;
    const double frameHeight = double(readInt32(header, 36)) - frameTop;
    const double devicePixelsX = readInt32(header, 72), devicePixelsY = readInt32(header, 76);
    const double deviceMmX = readInt32(header, 80), deviceMmY = readInt32(header, 84);

    const qint64 width = std::llround(frameWidth * MetafileDpi / 2540.0);
    const qint64 height = std::llround(frameHeight * MetafileDpi / 2540.0);
    if (frameWidth > 0 && frameHeight > 0 && devicePixelsX > 0 && devicePixelsY > 0
        && deviceMmX > 0 && deviceMmY > 0 && isSensibleMetafileSize(width, height)) {
        const double perUnitX = devicePixelsX / (deviceMmX * 100.0);
        const double perUnitY = devicePixelsY / (deviceMmY * 100.0);
        return {QRectF(frameLeft * perUnitX - double(boundsLeft),
                       frameTop * perUnitY - double(boundsTop), frameWidth * perUnitX,
                       frameHeight * perUnitY),
                QSize(int(width), int(height))};
    }
    if (!isSensibleMetafileSize(boundsWidth, boundsHeight))
        throw AppError(QStringLiteral("Metarquivo grande demais (%1 x %2 pixels)")
                           .arg(boundsWidth)
                           .arg(boundsHeight));
    return {QRectF(0, 0, double(boundsWidth), double(boundsHeight)),
            QSize(int(boundsWidth), int(boundsHeight))};
}
