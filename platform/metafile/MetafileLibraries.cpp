// libemf2svg and libwmf, with the guards that keep them from the faults damaged files led them
// into. WMF takes libwmf's own bitmap renderer rather than its SVG output, which rounds colours
// to named SVG colours: libwmf draws into a truecolour image and hands it over as PNG bytes,
// which keep every pixel exactly.
#include "platform/metafile/MetafileLibraries.h"

#include "platform/formats/Dib.h"
#include "platform/formats/EmfHeader.h"
#include "platform/formats/PictureLimits.h"
#include "store/core/AppError.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <vector>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>

// libemf2svg looks fonts up through fontconfig when an EMF gives its text as glyph indices, and
// then calls FcFini(), which tears down fontconfig's process-wide state. In a program where Qt's
// font database holds on to that state too (the fuzz targets and the benchmark call these
// libraries beside Qt), fontconfig then aborts on an assertion, or Qt reads freed memory. FcFini
// only exists to release that state at exit, which no program here needs; so it is defined as
// doing nothing. Being defined in the executable, this definition takes the place of
// fontconfig's for every library that calls it.
extern "C" void FcFini(void)
{
}

namespace {

struct WmfApiDeleter {
    void operator()(wmfAPI *api) const { wmf_api_destroy(api); }
};
using WmfApi = std::unique_ptr<wmfAPI, WmfApiDeleter>;

// The renderer's own functions, kept while some of them are replaced by the guards below.
struct WmfRenderer {
    wmfFunctionReference original {};
};

const WmfRenderer &rendererOf(wmfAPI *api) { return *static_cast<const WmfRenderer *>(api->user_data); }

// The renderer's scale from metafile units to pixels, in each direction.
struct WmfScale {
    double perUnitX, perUnitY;
    double pictureSide; // the larger of the picture's width and height, in pixels
};

WmfScale scaleOf(wmfAPI *api)
{
    const wmf_gd_t *device = WMF_GD_GetData(api);
    return {device->width / double(device->bbox.BR.x - device->bbox.TL.x),
            device->height / double(device->bbox.BR.y - device->bbox.TL.y),
            double(std::max(device->width, device->height))};
}

// libwmf's bitmap renderer hands each character to FreeType and then draws the bitmap that
// FreeType made, without checking that FreeType made one. FreeType fails on characters of
// absurd proportions (a damaged font record can make one a thousand times wider than high), and
// drawing the stale bitmap then crashes. Such text, like text many times larger than the whole
// picture, cannot be read in the picture anyway, so it is left out; all other text goes to the
// renderer's own function.
void drawTextOfSensibleSize(wmfAPI *api, wmfDrawText_t *text)
{
    constexpr double MaxAspect = 64;
    const WmfScale scale = scaleOf(api);
    const double height = std::fabs(text->font_height * scale.perUnitY);
    const double width = std::fabs(text->font_height * text->font_ratio * scale.perUnitX);
    const double limit = 4.0 * scale.pictureSide;
    if (std::isfinite(height) && std::isfinite(width) && height <= limit && width <= limit
        && width <= height * MaxAspect && height <= width * MaxAspect)
        rendererOf(api).original.draw_text(api, text);
}

// The renderer strokes a line by painting a pen-sized block at every point of it, so the time a
// stroke takes grows with the square of the pen's width: a damaged pen record of a few bytes
// (a pen 20000 pixels wide) kept the renderer busy for minutes. A stroke is drawn with its pen
// narrowed to at most this many pixels, which paints the same near the line and leaves out only
// what lies further from it.
constexpr double MaxPenPixels = 64;

// Calls the renderer's own `draw` with the pen of `args->dc` narrowed, then restores the pen.
template <typename Args, void (*wmfFunctionReference::*draw)(wmfAPI *, Args *)>
void strokeWithSanePen(wmfAPI *api, Args *args)
{
    wmfPen *pen = args->dc != nullptr ? args->dc->pen : nullptr;
    if (pen == nullptr) {
        (rendererOf(api).original.*draw)(api, args);
        return;
    }
    const WmfScale scale = scaleOf(api);
    const double width = pen->width, height = pen->height;
    const auto narrowed = [](double size, double perUnit) {
        const double pixels = std::fabs(size * perUnit);
        return std::isfinite(pixels) && pixels > MaxPenPixels ? std::copysign(MaxPenPixels / std::fabs(perUnit), size)
                                                               : size;
    };
    pen->width = narrowed(width, scale.perUnitX);
    pen->height = narrowed(height, scale.perUnitY);
    (rendererOf(api).original.*draw)(api, args);
    pen->width = width;
    pen->height = height;
}

// libwmf reads a bitmap inside a metafile entry by entry for as many palette entries and pixels
// as its header claims, whatever the bytes there are: a damaged header kept it busy for minutes.
// A bitmap whose header is of no known size, or claims more palette entries or rows than its
// record holds, or more pixels than a metafile is ever drawn with, is not read: a bitmap of one
// white pixel stands in for it. So does a bitmap without width or height: the renderer tiles a
// pattern brush by taking each pixel's position modulo the bitmap's size, and a zero there is a
// division by zero that kills the process.
bool isSensibleBitmap(const wmfBMP_Read_t *read)
{
    if (read->buffer == nullptr || read->length < 12)
        return false;
    const uchar *info = read->buffer;
    const qint64 length = read->length;
    const quint32 infoSize = qFromLittleEndian<quint32>(info);
    // The core header, the Windows 3 header and its later extensions (with colour masks, V4, V5).
    static constexpr quint32 knownSizes[] = {12, 40, 52, 56, 108, 124};
    if (std::find(std::begin(knownSizes), std::end(knownSizes), infoSize) == std::end(knownSizes)
        || infoSize > quint64(length))
        return false;
    const bool core = infoSize == 12;
    const qint64 width = core ? qFromLittleEndian<quint16>(info + 4) : qFromLittleEndian<qint32>(info + 4);
    const qint64 height = core ? qFromLittleEndian<quint16>(info + 6)
                               : std::abs(qint64(qFromLittleEndian<qint32>(info + 8)));
    const qint64 coloursUsed = core ? 0 : qFromLittleEndian<quint32>(info + 32);
    return width >= 1 && height >= 1 && width * height <= MaxMetafilePixels
        && coloursUsed <= (length - infoSize) / 4
        && dibPixelsFit(info, length, length - infoSize);
}

void readBitmapOfSensibleSize(wmfAPI *api, wmfBMP_Read_t *read)
{
    if (isSensibleBitmap(read)) {
        rendererOf(api).original.bmp_read(api, read);
        return;
    }
    // In its place libwmf reads a bitmap of one white pixel: a brush or a picture record left
    // without any bitmap would have the renderer work on what is not there.
    static const uchar whitePixel[] = {
        40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, // header: 1 x 1, 24 bits per pixel
        0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0,
        255, 255, 255, 0,                                // the pixel, its row padded to 4 bytes
    };
    wmfBMP_Read_t replacement = *read;
    replacement.buffer = const_cast<uchar *>(whitePixel);
    replacement.length = long(sizeof whitePixel);
    replacement.width = 1;
    replacement.height = 1;
    rendererOf(api).original.bmp_read(api, &replacement);
    read->bmp = replacement.bmp;
}

// Puts the guards in place of the renderer's own functions, which `renderer` keeps. A function
// the renderer leaves out stays out: libwmf then draws by other means (a polypolygon as
// polygons), which the guards cover.
void guardRenderer(wmfAPI *api, WmfRenderer &renderer)
{
    auto *functions = static_cast<wmfFunctionReference *>(api->function_reference);
    renderer.original = *functions;
    api->user_data = &renderer;
    const auto guard = [](auto &function, auto guarded) {
        if (function != nullptr)
            function = guarded;
    };
    using F = wmfFunctionReference;
    guard(functions->draw_text, drawTextOfSensibleSize);
    guard(functions->bmp_read, readBitmapOfSensibleSize);
    guard(functions->draw_pie, strokeWithSanePen<wmfDrawArc_t, &F::draw_pie>);
    guard(functions->draw_chord, strokeWithSanePen<wmfDrawArc_t, &F::draw_chord>);
    guard(functions->draw_arc, strokeWithSanePen<wmfDrawArc_t, &F::draw_arc>);
    guard(functions->draw_ellipse, strokeWithSanePen<wmfDrawArc_t, &F::draw_ellipse>);
    guard(functions->draw_line, strokeWithSanePen<wmfDrawLine_t, &F::draw_line>);
    guard(functions->poly_line, strokeWithSanePen<wmfPolyLine_t, &F::poly_line>);
    guard(functions->draw_polygon, strokeWithSanePen<wmfPolyLine_t, &F::draw_polygon>);
    guard(functions->draw_polypolygon, strokeWithSanePen<wmfPolyPoly_t, &F::draw_polypolygon>);
    guard(functions->draw_rectangle, strokeWithSanePen<wmfDrawRectangle_t, &F::draw_rectangle>);
}

// Follows the records that create, delete and select objects (pens, brushes, fonts, palettes,
// regions) through the object table, as the metafile's player fills it: each new object takes
// the lowest free slot. libwmf goes wrong where Windows does not, and draws from stale memory
// (which once had it ask for gigabytes):
// - a record that selects an empty slot: such a file is refused;
// - a record that deletes an object still selected for drawing, which Windows refuses to do:
//   the record is made one that libwmf passes over, in `contents`, the copy libwmf reads. A
//   drawing state saved by SaveDC holds its objects too, and gets them back at RestoreDC, so an
//   object selected in a saved state is kept as well.
// The records are followed as libwmf plays them: to the end-of-file record (3 words, function
// 0), past records of any other function, 0 included.
void checkWmfObjects(QByteArray &contents, qsizetype position, int objectCount)
{
    constexpr quint16 SelectObject = 0x012D, DeleteObject = 0x01F0, SaveDC = 0x001E, RestoreDC = 0x0127;
    constexpr quint16 Ignored = 0x0001; // no record has this number
    enum Kind { None, Pen, Brush, Font, Other };
    const auto kindMade = [](quint16 function) {
        switch (function) {
        case 0x02FA: return Pen;
        case 0x02FC: case 0x0142: case 0x01F9: return Brush;
        case 0x02FB: return Font;
        case 0x00F7: case 0x06FF: return Other;
        default: return None;
        }
    };
    using Selection = std::array<int, Other + 1>; // the slot selected of each kind, or -1
    std::vector<Kind> table(size_t(objectCount), None);
    Selection selected;
    selected.fill(-1);
    std::vector<Selection> saved;
    const auto inUse = [&](int index) {
        const Kind kind = table[size_t(index)];
        return selected[kind] == index
            || std::any_of(saved.begin(), saved.end(), [&](const Selection &s) { return s[kind] == index; });
    };
    uchar *bytes = reinterpret_cast<uchar *>(contents.data());
    while (position + 6 <= contents.size()) {
        const quint64 words = qFromLittleEndian<quint32>(bytes + position);
        const quint16 function = qFromLittleEndian<quint16>(bytes + position + 4);
        if (words < 3 || (words == 3 && function == 0) || words * 2 > quint64(contents.size() - position))
            return; // the end, or damage that libwmf reports itself
        const bool hasIndex = words >= 4;
        const quint16 index = hasIndex ? qFromLittleEndian<quint16>(bytes + position + 6) : 0;
        if (const Kind made = kindMade(function); made != None) {
            const auto free = std::find(table.begin(), table.end(), None);
            if (free != table.end())
                *free = made;
        } else if (function == DeleteObject && hasIndex && index < table.size()
                   && table[index] != None) {
            if (inUse(index))
                qToLittleEndian<quint16>(Ignored, bytes + position + 4);
            else
                table[index] = None;
        } else if (function == SelectObject) {
            if (!hasIndex || index >= table.size() || table[index] == None)
                throw AppError(QStringLiteral("O metarquivo não é válido"));
            selected[table[index]] = index;
        } else if (function == SaveDC) {
            saved.push_back(selected);
        } else if (function == RestoreDC && !saved.empty()) {
            // libwmf goes back one saved state, whatever the record asks.
            selected = saved.back();
            saved.pop_back();
        }
        position += qsizetype(words * 2);
    }
}

// Checks the sizes in a WMF's header against the file itself before libwmf sees it: libwmf
// allocates a buffer of the header's largest record before it reads a single record, so a few
// damaged bytes could have it ask for gigabytes. The header follows an optional 22-byte
// placeable header; its size in words is 9, the file's size in words counts from it, and no
// record can be larger than the file.
void checkWmfHeader(QByteArray &data)
{
    constexpr quint32 PlaceableKey = 0x9AC6CDD7;
    constexpr qsizetype PlaceableSize = 22, HeaderSize = 18;
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    qsizetype start = 0;
    if (data.size() >= 4 && qFromLittleEndian<quint32>(bytes) == PlaceableKey)
        start = PlaceableSize;
    if (data.size() < start + HeaderSize)
        throw AppError(QStringLiteral("O metarquivo não é válido"));
    const uchar *header = bytes + start;
    const quint16 headerWords = qFromLittleEndian<quint16>(header + 2);
    const quint64 fileWords = qFromLittleEndian<quint32>(header + 6);
    const quint64 largestRecordWords = qFromLittleEndian<quint32>(header + 12);
    const quint64 wordsThere = quint64(data.size() - start) / 2;
    if (headerWords != HeaderSize / 2 || fileWords > wordsThere || largestRecordWords > fileWords)
        throw AppError(QStringLiteral("O metarquivo não é válido"));
    checkWmfObjects(data, start + HeaderSize, qFromLittleEndian<quint16>(header + 10));
}

// libwmf's allocations for one metafile, counted against a budget. Each block carries its size
// in front of it, so that a block freed or resized gives its size back.
struct WmfMemory {
    qint64 budget = MaxDecoderBytes;
    qint64 used = 0;
    bool refused = false;

    static constexpr size_t Front = alignof(std::max_align_t);

    static size_t &sizeOf(void *block) { return *static_cast<size_t *>(block); }

    static void *allocate(void *context, size_t size)
    {
        auto *memory = static_cast<WmfMemory *>(context);
        if (size > size_t(memory->budget - memory->used)) {
            memory->refused = true;
            return nullptr;
        }
        void *block = std::malloc(Front + size);
        if (block == nullptr)
            return nullptr;
        sizeOf(block) = size;
        memory->used += qint64(size);
        return static_cast<char *>(block) + Front;
    }

    static void *reallocate(void *context, void *mem, size_t size)
    {
        if (mem == nullptr)
            return allocate(context, size);
        auto *memory = static_cast<WmfMemory *>(context);
        void *block = static_cast<char *>(mem) - Front;
        const size_t old = sizeOf(block);
        if (size > old && size - old > size_t(memory->budget - memory->used)) {
            memory->refused = true;
            return nullptr;
        }
        void *moved = std::realloc(block, Front + size);
        if (moved == nullptr)
            return nullptr;
        sizeOf(moved) = size;
        memory->used += qint64(size) - qint64(old);
        return static_cast<char *>(moved) + Front;
    }

    static void release(void *context, void *mem)
    {
        if (mem == nullptr)
            return;
        void *block = static_cast<char *>(mem) - Front;
        static_cast<WmfMemory *>(context)->used -= qint64(sizeOf(block));
        std::free(block);
    }
};

int appendToByteArray(void *context, char *buffer, int length)
{
    static_cast<QByteArray *>(context)->append(buffer, length);
    return length;
}

} // namespace

QByteArray emfToSvg(const QByteArray &data)
{
    placeEmf(data);

    // libemf2svg reads a record's type and size before it checks that the record lies inside
    // the buffer, so a file cut short makes it read past the end. The copy it gets is followed
    // by zero bytes, which it takes for an invalid record and stops at.
    constexpr size_t Padding = 64;
    std::vector<char> contents(size_t(data.size()) + Padding, 0);
    std::copy(data.cbegin(), data.cend(), contents.begin());

    generatorOptions options {};
    char noNamespace[] = "";
    options.nameSpace = noNamespace;
    options.svgDelimiter = true; // a whole SVG document, not a fragment
    char *svg = nullptr;
    size_t svgLength = 0;
    const int ok = emf2svg(contents.data(), size_t(data.size()), &svg, &svgLength, &options);
    const std::unique_ptr<char, decltype(&std::free)> svgOwner(svg, &std::free);
    // On a damaged file libemf2svg reports failure but still hands back the SVG of the records
    // before the damage; that part-picture is not shown.
    if (!ok || svg == nullptr || svgLength == 0)
        invalidEmf();
    if (svgLength > size_t(MaxEmfSvgBytes))
        throw AppError(QStringLiteral("Metarquivo grande demais"));
    return QByteArray(svg, qsizetype(svgLength));
}

QByteArray wmfToPng(const QByteArray &data, qint64 memoryBudget)
{
    // What libwmf is given to read and to write into, and its memory's account, outlive it.
    QByteArray contents = data; // libwmf takes a writable buffer
    checkWmfHeader(contents);
    QByteArray png;
    WmfRenderer renderer;
    WmfMemory memory;
    memory.budget = memoryBudget;

    wmfAPI_Options options {};
    options.function = wmf_gd_function;
    options.context = &memory;
    options.malloc = WmfMemory::allocate;
    options.realloc = WmfMemory::reallocate;
    options.free = WmfMemory::release;
    // Errors come back as codes; libwmf's own reports on stderr are turned off.
    const unsigned long flags = WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL
        | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    // A failure that came from the memory budget says so rather than blaming the file.
    const auto failed = [&] {
        if (memory.refused)
            throw AppError(QStringLiteral("O metarquivo exige memória demais"));
        throw WmfLibraryFailed();
    };
    wmfAPI *created = nullptr;
    const wmf_error_t createError = wmf_api_create(&created, flags, &options);
    WmfApi api(created);
    if ((createError != wmf_E_None || !api) && memory.refused)
        throw AppError(QStringLiteral("O metarquivo exige memória demais"));
    if (createError != wmf_E_None || !api)
        throw AppError(QStringLiteral("Não foi possível iniciar o leitor de metarquivos (erro %1 do libwmf)")
                           .arg(int(createError)));

    if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char *>(contents.data()),
                     long(contents.size()))
        != wmf_E_None)
        failed();
    wmfD_Rect bbox {};
    if (wmf_scan(api.get(), 0, &bbox) != wmf_E_None)
        failed();
    unsigned int width = 0, height = 0;
    if (wmf_display_size(api.get(), &width, &height, MetafileDpi, MetafileDpi) != wmf_E_None)
        failed();
    if (!isSensibleMetafileSize(width, height))
        throw AppError(QStringLiteral("Metarquivo grande demais (%1 x %2 pixels)").arg(width).arg(height));

    guardRenderer(api.get(), renderer);

    wmf_gd_t *device = WMF_GD_GetData(api.get());
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = appendToByteArray;
    // The renderer maps the box around what is drawn (found by the scan) onto the whole picture:
    // an empty margin that the metafile's header leaves around its drawing is not kept.
    device->bbox = bbox;
    device->width = width;
    device->height = height;
    if (wmf_play(api.get(), 0, &bbox) != wmf_E_None)
        failed();
    wmf_mem_close(api.get());
    api.reset();

    // An empty output is a renderer that failed without an error code.
    if (png.isEmpty())
        throw WmfLibraryFailed();
    return png;
}
