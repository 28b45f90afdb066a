#pragma once
// What the fuzz targets share: a Qt application created once on the offscreen platform, and a
// scratch folder for inputs that the code under test reads from a file, as the game does.
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Creates the application object once: a QGuiApplication when `gui` (pictures need fonts and
// the image plugins), else a QCoreApplication.
void startQt(int *argc, char ***argv, bool gui);

// A folder of this process; left by its end, removed by the next target that starts.
QString scratchFolder();

// Writes the input to `name` in the scratch folder (replacing it) and returns its path.
QString writeScratch(const QString &name, const uint8_t *data, size_t size);

} // namespace fuzz
