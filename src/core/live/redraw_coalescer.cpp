// SPDX-License-Identifier: MIT
#include "core/live/redraw_coalescer.h"

namespace kr820::core {

RedrawCoalescer::RedrawCoalescer(std::function<void(const LiveReading&)> redraw, QObject* parent)
    : QObject(parent), m_redraw(std::move(redraw)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RedrawCoalescer::HandOn);
}

void RedrawCoalescer::Take(const LiveReading& reading) {
    m_latest = reading;
    if (m_timer.isActive()) return;  // the one held back is replaced, its time kept
    const auto since = std::chrono::milliseconds(m_sinceLast.isValid() ? m_sinceLast.elapsed()
                                                                       : kLeastInterval.count());
    if (since >= kLeastInterval) {
        HandOn();
        return;
    }
    m_timer.start(kLeastInterval - since);
}

void RedrawCoalescer::HandOn() {
    m_sinceLast.start();
    m_redraw(m_latest);
}

}  // namespace kr820::core
