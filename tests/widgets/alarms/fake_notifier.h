// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include "app/alarm_notifier.h"

namespace kr820::testing {

// Keeps each notification as "title: body" in a list the test holds.
class FakeNotifier : public app::AlarmNotifier {
public:
    explicit FakeNotifier(QStringList& told) : m_told(told) {}
    void Notify(const QString& title, const QString& body) override {
        m_told << title + QStringLiteral(": ") + body;
    }

private:
    QStringList& m_told;
};

}  // namespace kr820::testing
