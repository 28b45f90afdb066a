#pragma once
// Which bank this machine uses. The data folder, unless the machine's settings name a server:
// the file jornada/jornada.conf of the XDG configuration folders (/etc/xdg/jornada/jornada.conf
// for every user of the machine, ~/.config/jornada/jornada.conf for one user, which wins), key
// `servidor` of group [banco], a libpq connection string. This is the one place that chooses.
#include "store/core/BankLocation.h"

class QSettings;

// The bank in use, as the settings say now.
BankLocation bankInUse();
// The connection string of the server the settings name now; empty when they name none.
QString serverInUse();

// The bank that `settings` choose: the server when [banco] servidor holds a connection string,
// otherwise the data folder (dataDirectory()). A blank value is no setting.
BankLocation bankChosenBy(QSettings &settings);
