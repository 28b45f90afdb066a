#include "store/core/BankInUse.h"

#include "store/core/DataDir.h"

#include <QSettings>

BankLocation bankInUse()
{
    // QSettings looks in the user's folder first and then in the system's (~/.config, then
    // /etc/xdg): the machine-wide setting of a lab, which one user may override. The native
    // format is what names the file jornada.conf on Linux (the INI format would name it
    // jornada.ini); its text is INI all the same.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("jornada"),
                       QStringLiteral("jornada"));
    return bankChosenBy(settings);
}

BankLocation bankChosenBy(QSettings &settings)
{
    // A connection string with a comma (a list of hosts) comes back from the INI reader as a list.
    const QVariant value = settings.value(QStringLiteral("banco/servidor"));
    const QString connection = (value.typeId() == QMetaType::QStringList
                                    ? value.toStringList().join(QLatin1Char(','))
                                    : value.toString())
                                   .trimmed();
    if (connection.isEmpty())
        return BankLocation::folder(dataDirectory());
    return BankLocation::server(connection);
}
