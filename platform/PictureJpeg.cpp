// JPEG decoding straight through libjpeg (libjpeg-turbo), writing scanlines into the QImage.
//
// libjpeg reports a fatal error by calling error_exit, which must not return. Here it leaves by
// longjmp back to guarded(), and the caller turns the formatted message into AppError. So that
// the jump skips no destructor, the code that runs under guarded() only calls libjpeg and writes
// into memory owned outside it.
#include "platform/PictureDecoders.h"

#include "platform/Pictures.h"
#include "store/core/AppError.h"

#include <QByteArray>
#include <QSize>
#include <QStringDecoder>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
// jerror.h after jpeglib.h: it names the message codes that the warning filter below checks.
#include <jerror.h>

namespace {

// The output layout that matches QImage::Format_RGB32 in memory: one 32-bit word 0xffRRGGBB
// per pixel. libjpeg-turbo fills the alpha byte with 0xff.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE Rgb32Layout = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE Rgb32Layout = JCS_EXT_ARGB;
#endif

struct ErrorManager {
    jpeg_error_mgr pub; // first, so that a j_common_ptr's err converts to this struct
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void failWithMessage(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings that mean entropy-coded data is missing or damaged: libjpeg would go on and fill the
// rest of the picture with grey or garbage, so they count as errors. Other warnings (extraneous
// bytes between markers, an unknown JFIF revision, a bad ICC marker) leave the pixels intact.
bool isDamageWarning(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
        return true;
    default:
        return false;
    }
}

// libjpeg's message hook: level -1 is a warning, higher levels are trace output. Nothing is
// printed; damage warnings end the decoding like errors.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    if (isDamageWarning(cinfo->err->msg_code))
        failWithMessage(cinfo);
    ++cinfo->err->num_warnings;
}

struct Decompressor {
    jpeg_decompress_struct cinfo {};
    ErrorManager err {};
    bool created = false;

    Decompressor()
    {
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = failWithMessage;
        err.pub.emit_message = onMessage;
    }
    ~Decompressor()
    {
        // Also stops a decompression that was left before its last scanline.
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;
};

// The text of a libjpeg failure: what went wrong in Portuguese, libjpeg's own message (which it
// only has in English) in parentheses. Running past the memory the decoder may take is told apart
// from a file that cannot be read.
AppError jpegError(const ErrorManager &err)
{
    const QString reason = QString::fromLocal8Bit(err.message);
    if (err.pub.msg_code == JERR_OUT_OF_MEMORY || err.pub.msg_code == JERR_NO_BACKING_STORE)
        return AppError(QStringLiteral("A imagem JPEG exige memória demais (%1)").arg(reason));
    return AppError(QStringLiteral("Não foi possível ler a imagem JPEG (%1)").arg(reason));
}

// Runs `step`, which calls libjpeg; false when libjpeg reported an error (err.message says which).
// `step` must not own objects with destructors: on error it is left by longjmp.
template <typename Step>
bool guarded(ErrorManager &err, Step &&step)
{
    if (setjmp(err.jump) != 0)
        return false;
    step();
    return true;
}

// CMYK rows as libjpeg gives them (C, M, Y, K bytes), converted in place to Format_RGB32.
// Files with an Adobe marker store the inks inverted (255 = no ink), as Photoshop writes them.
void convertCmykRow(uchar *row, int width, bool inverted)
{
    auto *out = reinterpret_cast<QRgb *>(row);
    for (int x = 0; x < width; ++x) {
        const uchar *p = row + 4 * x;
        int c = p[0], m = p[1], y = p[2], k = p[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

} // namespace

namespace {

// Where libjpeg reads the compressed data from: bytes in memory, or an open file.
struct Source {
    const QByteArray *bytes = nullptr;
    std::FILE *file = nullptr;
};

QImage decode(const Source &source, const QSize &visible)
{
    Decompressor d;
    QRect region;            // the part of the picture that is returned
    JDIMENSION firstColumn = 0; // picture column of the decoder's first output column
    bool cmyk = false;

    const bool headerRead = guarded(d.err, [&] {
        jpeg_create_decompress(&d.cinfo);
        d.created = true;
        // Memory that libjpeg may take besides the picture (coefficient buffers of progressive
        // files are the large part). Above it libjpeg fails with its own message.
        d.cinfo.mem->max_memory_to_use = long(MaxDecoderBytes);
        if (source.file != nullptr)
            jpeg_stdio_src(&d.cinfo, source.file);
        else
            jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char *>(source.bytes->constData()),
                         static_cast<unsigned long>(source.bytes->size()));
        // Comments are kept: one may describe the photo, for screen readers.
        jpeg_save_markers(&d.cinfo, JPEG_COM, 0xFFFF);
        jpeg_read_header(&d.cinfo, TRUE);
    });
    if (!headerRead)
        throw jpegError(d.err);
    QString description;
    for (jpeg_saved_marker_ptr m = d.cinfo.marker_list; m != nullptr && description.isEmpty(); m = m->next)
        description = descriptionFromComment(
            QByteArray::fromRawData(reinterpret_cast<const char *>(m->data), int(m->data_length)));
    // The size the header gives is judged before the decoder sets up anything for it.
    if (qint64(d.cinfo.image_width) * d.cinfo.image_height > MaxPicturePixels)
        throw AppError(QStringLiteral("Imagem grande demais (%1 x %2 pixels)")
                           .arg(d.cinfo.image_width)
                           .arg(d.cinfo.image_height));

    const bool started = guarded(d.err, [&] {
        cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
        d.cinfo.out_color_space = cmyk ? JCS_CMYK : Rgb32Layout;
        jpeg_start_decompress(&d.cinfo);

        const JDIMENSION width = d.cinfo.output_width;
        const JDIMENSION height = d.cinfo.output_height;
        region = pictureRegion(QSize(int(width), int(height)), visible);

        // One column more on each side than the region: the decoder smooths colour across
        // neighbouring chroma samples, and at the edge of a cropped run it has no neighbour to
        // use, so the outermost decoded columns may differ from a full decode. They are
        // trimmed. Skipped rows need no such margin: the decoder keeps the context rows itself.
        JDIMENSION x = JDIMENSION(std::max(region.left() - 1, 0));
        JDIMENSION w = std::min(JDIMENSION(region.right() + 2), width) - x;
        if (w < width) {
            // Widens the run to whole iMCU columns: x moves left, w grows.
            jpeg_crop_scanline(&d.cinfo, &x, &w);
        }
        firstColumn = x;
    });
    if (!started)
        throw jpegError(d.err);

    if (qint64(region.width()) * region.height() > MaxPicturePixels)
        throw AppError(QStringLiteral("Imagem grande demais (%1 x %2 pixels)")
                           .arg(region.width())
                           .arg(region.height()));
    QImage image(region.size(), QImage::Format_RGB32);
    if (image.isNull())
        throw AppError(QStringLiteral("Memória insuficiente para uma imagem de %1 x %2 pixels")
                           .arg(region.width())
                           .arg(region.height()));

    // Rows land in the picture directly when the decoder's output run is exactly the region;
    // otherwise they go through a scratch row and the region is cut out of it.
    const bool direct = firstColumn == JDIMENSION(region.left())
        && d.cinfo.output_width == JDIMENSION(region.width());
    std::vector<JSAMPLE> scratch(direct ? 0 : size_t(d.cinfo.output_width) * 4);
    const size_t columnOffset = size_t(region.left()) - firstColumn;
    const size_t rowBytes = size_t(region.width()) * 4;

    const bool decoded = guarded(d.err, [&] {
        if (region.top() > 0)
            jpeg_skip_scanlines(&d.cinfo, JDIMENSION(region.top()));
        for (int y = 0; y < region.height(); ++y) {
            uchar *target = image.scanLine(y);
            JSAMPROW row = direct ? target : scratch.data();
            jpeg_read_scanlines(&d.cinfo, &row, 1);
            if (!direct)
                std::memcpy(target, scratch.data() + columnOffset * 4, rowBytes);
            if (cmyk)
                convertCmykRow(target, region.width(), d.cinfo.saw_Adobe_marker);
        }
        // The rows below the region are never decoded: jpeg_finish_decompress would insist on
        // reading them (and on an end marker), so the decompression is abandoned instead.
        jpeg_abort_decompress(&d.cinfo);
    });
    if (!decoded)
        throw jpegError(d.err);
    if (!description.isEmpty())
        image.setText(PictureDescriptionKey, description);
    return image;
}

} // namespace

QString descriptionFromComment(const QByteArray &comment)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(comment);
    if (utf8.hasError())
        text = QString::fromLatin1(comment);
    text = text.trimmed();
    // Qt's rule: "Key: value" when the key is one word, else the whole comment is a description.
    const qsizetype colon = text.indexOf(QLatin1String(": "));
    if (colon > 0 && !text.left(colon).contains(QLatin1Char(' ')))
        return text.left(colon) == PictureDescriptionKey ? text.mid(colon + 2).trimmed() : QString();
    if (text.startsWith(QLatin1String("Created with ")))
        return QString();
    return text;
}

QImage decodeJpeg(const QByteArray &data, const QSize &visible)
{
    Source source;
    source.bytes = &data;
    return decode(source, visible);
}

QImage decodeJpegFile(std::FILE *file, const QSize &visible)
{
    Source source;
    source.file = file;
    return decode(source, visible);
}
