// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <vector>

#include "app/alarm_notifier.h"

namespace kr820::testing {

// Keeps each notification as "title: body" in a list the test holds.
class FakeNotifier : public app::AlarmNotifier {
public:
    explicit FakeNotifier(QStringList& told) : m_told(told) {}
    void Notify(const QString& title, const QString& body,
                app::NotificationUrgency urgency) override {
        m_told << title + QStringLiteral(": ") + body;
        urgencies.push_back(urgency);
    }
    std::vector<app::NotificationUrgency> urgencies;

private:
    QStringList& m_told;
};

}  // namespace kr820::testing
