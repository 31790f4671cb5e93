// SPDX-License-Identifier: MIT
#pragma once

#include "cli/exit_codes.h"
#include "link/clock.h"

namespace kr820::cli {

class StopSignals;

// The link's clock, cut short by a stop request: pauses end at once and the exchanges give up at
// their next look, so that a command ends within a moment of Ctrl+C or SIGTERM.
class StoppableClock final : public link::Clock {
public:
    StoppableClock(link::Clock& clock, const StopSignals& stop) : m_clock(clock), m_stop(stop) {}

    TimePoint Now() const override { return m_clock.Now(); }
    void Pause(std::chrono::milliseconds span) override;
    void Sleep(std::chrono::microseconds span) override;
    bool Stopping() const override;

private:
    link::Clock& m_clock;
    const StopSignals& m_stop;
};

// The exit code of a command a stop request ended: that of the signal, as a shell gives it to a
// program the signal killed; Interrupted for a request without a signal.
ExitCode StoppedExit();

}  // namespace kr820::cli
