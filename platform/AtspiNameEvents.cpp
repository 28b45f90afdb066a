#include "platform/AtspiNameEvents.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace AtspiNameEvents {

void repeatWithText(QAccessibleEvent *event)
{
    const bool name = event->type() == QAccessible::NameChanged;
    if ((!name && event->type() != QAccessible::DescriptionChanged) || !QAccessible::isActive())
        return;
    // The bridge's connection to the accessibility bus, which Qt names "a11y"; a screen reader
    // knows each control by this connection and the control's path on it.
    const QDBusConnection bus(QStringLiteral("a11y"));
    QAccessibleInterface *iface = event->accessibleInterface();
    if (!bus.isConnected() || !iface || !iface->isValid() || iface->role() == QAccessible::Application)
        return;
    const QString path = QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(iface));
    const QString text = iface->text(name ? QAccessible::Name : QAccessible::Description);

    QDBusMessage signal =
        QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    QDBusArgument application;
    application.beginStructure();
    application << bus.baseService() << QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"));
    application.endStructure();
    signal << (name ? QStringLiteral("accessible-name") : QStringLiteral("accessible-description")) << 0 << 0
           << QVariant::fromValue(QDBusVariant(text)) << QVariant::fromValue(application);
    bus.send(signal);
}

} // namespace AtspiNameEvents
