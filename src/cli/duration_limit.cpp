// SPDX-License-Identifier: MIT
#include "cli/duration_limit.h"

namespace kr820::cli {
namespace {

// How often the clock is looked at.
constexpr std::chrono::milliseconds kLook{100};

}  // namespace

DurationLimit::DurationLimit(link::Clock& clock, qint64 seconds, std::function<void()> reached) {
    if (seconds <= 0) return;
    const link::Clock::TimePoint started = clock.Now();
    QObject::connect(&m_look, &QTimer::timeout, [this, &clock, started, seconds, reached] {
        if (clock.Now() - started < std::chrono::seconds(seconds)) return;
        m_look.stop();
        reached();
    });
    m_look.start(kLook);
}

}  // namespace kr820::cli
