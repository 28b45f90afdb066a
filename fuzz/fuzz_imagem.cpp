// One picture loader, chosen by the extension this program is built with (JORNADA_FUZZ_EXTENSION):
// the bytes become a picture file that is loaded as the question screen's photo box loads it,
// centred in a box of 137 x 177 pixels.
#include "FuzzSupport.h"

#include "platform/Pictures.h"
#include "store/core/AppError.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv, true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QSize box(137, 177);
    const QString path =
        fuzz::writeScratch(QStringLiteral("foto." JORNADA_FUZZ_EXTENSION), data, size);
    try {
        const QImage image = loadPicture(path, box);
        if (image.isNull() || image.width() > box.width() || image.height() > box.height())
            std::abort();
    } catch (const AppError &) {
        // Refused with a reason: what a loader must do with bytes that are no picture. Only a
        // crash or a wrong picture is a finding, and a line per refused input would bury it.
    }
    return 0;
}
