#pragma once
#include <QString>

// The one folder that holds everything the game keeps: C:\BDPerguntas on Windows,
// $HOME/BDPerguntas elsewhere. Nothing else in the program spells this path.
QString dataDirectory();

// The full path of a file inside the data directory.
QString dataFile(const QString &name);
