// One metafile reader, chosen by the extension this program is built with (JORNADA_FUZZ_EXTENSION):
// the libraries' work that the decoder process does (libemf2svg or libwmf, with their guards),
// run here in the fuzzer's own process so that a crash, a hang or a runaway allocation in them
// is found rather than contained; then the game's half, which draws what they made.
#include "FuzzSupport.h"

#include "platform/PictureDecoders.h"
#include "platform/metafile/MetafileLibraries.h"
#include "store/core/AppError.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv, true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        QImage image;
        if (std::strcmp(JORNADA_FUZZ_EXTENSION, "emf") == 0)
            image = emfFromSvg(placeEmf(bytes), emfToSvg(bytes));
        else
            image = wmfFromPng(wmfToPng(bytes, MaxDecoderBytes));
        if (image.isNull() || !isSensibleMetafileSize(image.width(), image.height()))
            std::abort();
    } catch (const AppError &) {
        // Refused with a reason: what a reader must do with bytes that are no picture.
    } catch (const WmfLibraryFailed &) {
        // libwmf gave up on the file: refused as well.
    }
    return 0;
}
