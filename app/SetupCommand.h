#pragma once
#include <QString>

// The command that creates the data directory, as this user has it. The set-up program is looked
// for beside the game (an installation puts both in one folder) and in the build folder's tools/
// (when the game runs from its build folder). When its plain name, looked up in `searchPath`
// (PATH's format), runs that very program, it is named plainly; otherwise by its full path; not
// found at all, by its name.
QString setupCommand(const QString &gameFolder, const QString &searchPath);
