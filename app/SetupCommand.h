#pragma once
#include <QString>

// The command that creates the data directory, as this user has it. The set-up program is looked
// for beside the game (an installation puts both in one folder) and in the build folder's tools/
// (when the game runs from its build folder). Found in a folder of `searchPath` (PATH's format),
// it is named plainly; found elsewhere, by its full path; not found, by its name.
QString setupCommand(const QString &gameFolder, const QString &searchPath);
