// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>
#include <functional>
#include <optional>

#include "link/clock.h"

namespace kr820::cli {

// --duration of a reading command, counted from the first reading (the search and the wait for
// the meter are not part of it): a reading within half a second of the end is the end, so that
// --duration 3 takes the readings of 0, 1 and 2 s, and a meter that falls silent still ends it
// on time. Measured on the clock the link runs on, so that a test's fast clock shortens it too.
class DurationLimit {
public:
    // Nothing is limited for `seconds` 0. `reached` is called once.
    DurationLimit(link::Clock& clock, qint64 seconds, std::function<void()> reached);

    // A reading arrived at `now`: whether it lies within the duration. The first starts it.
    bool Take(link::Clock::TimePoint now);

private:
    void Reach();

    link::Clock& m_clock;
    std::chrono::seconds m_duration;
    std::function<void()> m_reached;
    std::optional<link::Clock::TimePoint> m_end;
    bool m_done = false;
    QTimer m_look;
};

}  // namespace kr820::cli
