// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "core/live/live_reading.h"

namespace kr820::core {

// Between the fan-out and a view that redraws on every reading: a reading goes on at once when
// the last went on long enough ago, otherwise the latest of those that came meanwhile goes on
// when that time is up. A meter sending faster than the screen can show costs at most 25
// redraws a second, and the view always ends on the last reading.
class RedrawCoalescer : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kLeastInterval{40};

    explicit RedrawCoalescer(std::function<void(const LiveReading&)> redraw,
                             QObject* parent = nullptr);

    void Take(const LiveReading& reading);
    // A reading held back, not yet redrawn.
    bool Pending() const { return m_timer.isActive(); }

private:
    void HandOn();

    std::function<void(const LiveReading&)> m_redraw;
    LiveReading m_latest;
    QElapsedTimer m_sinceLast;
    QTimer m_timer;
};

}  // namespace kr820::core
