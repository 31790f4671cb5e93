// SPDX-License-Identifier: MIT
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLoggingCategory>
#include <QVariantMap>

#include "app/alarm_notifier.h"

namespace kr820::app {
namespace {

Q_LOGGING_CATEGORY(lcAlarms, "kr820.alarms")

class DesktopNotifier : public AlarmNotifier {
public:
    void Notify(const QString& title, const QString& body, NotificationUrgency urgency) override {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            if (!m_told) qCWarning(lcAlarms) << "no session bus: alarms are not notified";
            m_told = true;
            return;
        }
        // Sent without waiting for the answer: the readings never wait for the desktop.
        bus.call(AlarmNotificationMessage(title, body, urgency), QDBus::NoBlock);
    }

private:
    bool m_told = false;
};

}  // namespace

QDBusMessage AlarmNotificationMessage(const QString& title, const QString& body,
                                      NotificationUrgency urgency) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const bool critical = urgency == NotificationUrgency::Critical;
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(critical ? 2 : 1));
    // The desktop's own rule for critical ones (most keep them until closed).
    const int shownMs = critical ? -1 : kNotificationShownMs;
    message << QStringLiteral("KR820") << 0u << QStringLiteral("kr820") << title << body
            << QStringList() << hints << shownMs;
    return message;
}

std::unique_ptr<AlarmNotifier> MakeDesktopNotifier() { return std::make_unique<DesktopNotifier>(); }

}  // namespace kr820::app
