// SPDX-License-Identifier: MIT
#include "cli/stoppable_clock.h"

#include <csignal>

#include "cli/stop_signals.h"

namespace kr820::cli {
namespace {

// How often a pause looks for a stop request.
constexpr std::chrono::milliseconds kStopLook{50};

}  // namespace

void StoppableClock::Pause(std::chrono::milliseconds span) {
    const TimePoint start = m_clock.Now();
    for (;;) {
        if (Stopping()) return;
        const std::chrono::milliseconds left = link::Remaining(m_clock, start, span);
        if (left.count() <= 0) return;
        m_clock.Pause(std::min(left, kStopLook));
    }
}

void StoppableClock::Sleep(std::chrono::microseconds span) {
    if (!Stopping()) m_clock.Sleep(span);
}

bool StoppableClock::Stopping() const { return m_stop.Requested(); }

ExitCode StoppedExit() {
    return StopSignals::Received() == SIGTERM ? ExitCode::Terminated : ExitCode::Interrupted;
}

}  // namespace kr820::cli
