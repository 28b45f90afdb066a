#pragma once
// The set of screens: created once at start-up, in a fixed order, and kept until the end.
#include <QString>

// Creates the seven screens, hidden, and runs their creation steps. An error in a creation step
// is reported and start-up goes on; a table that cannot be opened is fatal: the screens made so
// far are destroyed and the report's text is returned (empty on success).
QString createScreens();

// Destroys the screens (and with them their tables), in the reverse order.
void destroyScreens();

// The report for a table that could not be opened at start-up: which file or folder is
// missing, and how to create the data directory.
QString missingDataReport(const QString &engineText);

// The report for a table that another program held during the whole of start-up's short wait.
QString tableInUseReport(const QString &engineText);
