#include "platform/AtspiNameEvents.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QSet>
#include <QTimer>
#include <utility>

namespace {

// The bridge's connection to the accessibility bus, which Qt names "a11y"; a screen reader knows
// each control by this connection and the control's path on it.
QDBusConnection accessibilityBus()
{
    return QDBusConnection(QStringLiteral("a11y"));
}

void send(QAccessible::Id id, bool name)
{
    const QDBusConnection bus = accessibilityBus();
    QAccessibleInterface *iface = QAccessible::accessibleInterface(id);
    if (!bus.isConnected() || !iface || !iface->isValid())
        return;
    const QString path = QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(id);
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

// The changes waiting to be sent, each once: a control that changes its name twice in one step
// (Qt tells of a description set, and the code that set it may tell again) is heard once, with the
// text it has at the end of the step.
QSet<std::pair<QAccessible::Id, bool>> &pending()
{
    static QSet<std::pair<QAccessible::Id, bool>> changes;
    return changes;
}

} // namespace

namespace AtspiNameEvents {

void repeatWithText(QAccessibleEvent *event)
{
    const bool name = event->type() == QAccessible::NameChanged;
    if ((!name && event->type() != QAccessible::DescriptionChanged) || !QAccessible::isActive()
        || !accessibilityBus().isConnected())
        return;
    QAccessibleInterface *iface = event->accessibleInterface();
    if (!iface || !iface->isValid() || iface->role() == QAccessible::Application)
        return;
    const std::pair change{QAccessible::uniqueId(iface), name};
    if (pending().contains(change))
        return;
    pending().insert(change);
    QTimer::singleShot(0, [change] {
        pending().remove(change);
        send(change.first, change.second);
    });
}

} // namespace AtspiNameEvents
