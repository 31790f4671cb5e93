// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

namespace kr820::app {

// Where a desktop notification of an alarm goes. The program sends freedesktop notifications
// over the session bus; tests give a fake that keeps what it was told.
class AlarmNotifier {
public:
    virtual ~AlarmNotifier() = default;
    // Never waits for the desktop: a missing notification service is logged, not waited for.
    virtual void Notify(const QString& title, const QString& body) = 0;
};

// org.freedesktop.Notifications on the session bus.
std::unique_ptr<AlarmNotifier> MakeDesktopNotifier();

}  // namespace kr820::app
