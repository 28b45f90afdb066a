#include "store/core/BankInUse.h"

#include "store/core/DataDir.h"

#include <QSettings>

namespace {

// The connection string that `settings` give as [banco] servidor; empty when none.
QString serverSetting(QSettings &settings)
{
    // A connection string with a comma (a list of hosts) comes back from the INI reader as a list.
    const QVariant value = settings.value(QStringLiteral("banco/servidor"));
    return (value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString())
        .trimmed();
}

// The bank that a [banco] servidor setting of `connection` chooses: the server it names, or the
// data folder when it names none.
BankLocation bankOfSetting(const QString &connection)
{
    return connection.isEmpty() ? BankLocation::folder(dataDirectory()) : BankLocation::server(connection);
}

// QSettings looks in the user's folder first and then in the system's (~/.config, then
// /etc/xdg): the machine-wide setting of a lab, which one user may override. The native format is
// what names the file jornada.conf on Linux (the INI format would name it jornada.ini); its text
// is INI all the same.
QString serverSettingNow()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("jornada"),
                       QStringLiteral("jornada"));
    return serverSetting(settings);
}

} // namespace

BankLocation bankInUse() { return bankOfSetting(serverSettingNow()); }

QString serverInUse() { return serverSettingNow(); }

BankLocation bankChosenBy(QSettings &settings) { return bankOfSetting(serverSetting(settings)); }
