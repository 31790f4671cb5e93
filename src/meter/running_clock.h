// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>

#include "link/clock.h"

namespace kr820::meter {

// A date and time that runs on from when it was set, as the meter's clock does: what the setup
// dialog's clock pickers stand for. Time passes on the link's clock, so that tests can move it.
class RunningClock {
public:
    explicit RunningClock(link::Clock& clock) : m_clock(clock), m_at(clock.Now()) {}

    void Set(const QDateTime& value) {
        m_value = value;
        m_at = m_clock.Now();
    }
    QDateTime Value() const {
        return m_value.addMSecs(
            std::chrono::duration_cast<std::chrono::milliseconds>(m_clock.Now() - m_at).count());
    }

private:
    link::Clock& m_clock;
    QDateTime m_value;
    link::Clock::TimePoint m_at;
};

}  // namespace kr820::meter
