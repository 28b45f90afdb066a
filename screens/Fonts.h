#pragma once
#include <QFont>

// The face the game's labels use: "Trebuchet MS" (a bundled substitute stands in for it where
// the desktop lacks it), at a character height in pixels.
QFont gameFont(int pixelSize, bool bold);

// Makes the bundled Cabin stand in for "Trebuchet MS" where the desktop lacks it; idempotent.
// Needs a QGuiApplication.
void registerGameFonts();
