// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

class QDBusMessage;

namespace kr820::app {

enum class NotificationUrgency { Normal, Critical };

// Where a desktop notification of an alarm goes. The program sends freedesktop notifications
// over the session bus; tests give a fake that keeps what it was told.
class AlarmNotifier {
public:
    virtual ~AlarmNotifier() = default;
    // Never waits for the desktop: a missing notification service is logged, not waited for.
    virtual void Notify(const QString& title, const QString& body, NotificationUrgency urgency) = 0;
};

// How long a normal notification stays on screen; a critical one stays until closed.
inline constexpr int kNotificationShownMs = 10000;

// The freedesktop Notify call for an alarm.
QDBusMessage AlarmNotificationMessage(const QString& title, const QString& body,
                                      NotificationUrgency urgency);

// org.freedesktop.Notifications on the session bus.
std::unique_ptr<AlarmNotifier> MakeDesktopNotifier();

}  // namespace kr820::app
