// The record file Recorde.txt as the game reads it, and the start screen's record line built
// from what was read.
#include "FuzzSupport.h"

#include "game/GameSession.h"
#include "store/core/AppError.h"
#include "store/folder/RecordFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::writeScratch(QStringLiteral("Recorde.txt"), data, size);
    QString name;
    qint32 points = 0;
    try {
        if (!ReadRecord(path, name, points))
            std::abort(); // the file was just written
    } catch (const AppError &) {
        return 0;
    }
    // What the screens show is bounded, however long the name read.
    const QString shown = ShownRecordName(name);
    if (shown.size() > RecordNameShownLength)
        std::abort();
    return 0;
}
