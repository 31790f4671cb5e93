// SPDX-License-Identifier: MIT
#include "cli/duration_limit.h"

#include "cli/reading_pacer.h"

namespace kr820::cli {
namespace {

// How often the clock is looked at while no reading comes.
constexpr std::chrono::milliseconds kLook{100};

}  // namespace

DurationLimit::DurationLimit(link::Clock& clock, qint64 seconds, std::function<void()> reached)
    : m_clock(clock), m_duration(seconds), m_reached(std::move(reached)) {
    QObject::connect(&m_look, &QTimer::timeout, [this] {
        if (m_end && m_clock.Now() >= *m_end) Reach();
    });
}

bool DurationLimit::Take(link::Clock::TimePoint now) {
    if (m_duration.count() <= 0) return true;
    if (m_done) return false;
    if (!m_end) {
        m_end = now + m_duration;
        m_look.start(kLook);
        return true;
    }
    if (now + kReadingEarliness < *m_end) return true;
    Reach();
    return false;
}

void DurationLimit::Reach() {
    if (m_done) return;
    m_done = true;
    m_look.stop();
    m_reached();
}

}  // namespace kr820::cli
