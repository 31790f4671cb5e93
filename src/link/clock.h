// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

namespace kr820::link {

// The time the exchanges with the meter measure their limits and pauses on. The program runs on
// the steady clock; tests give a clock that jumps, so that limits of seconds cost them nothing.
class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint Now() const = 0;
    // Lets `span` pass while timers, port notifications and painting go on. The user's input
    // waits until afterwards, so that a click cannot start a second operation inside this one.
    virtual void Pause(std::chrono::milliseconds span) = 0;
    // Lets `span` pass with nothing else running: between looks at a reply that no handler may
    // take.
    virtual void Sleep(std::chrono::microseconds span) = 0;
    // The program is being stopped: waits end at their next look and nothing is tried again.
    // The desktop never stops this way; its windows end their own operations.
    virtual bool Stopping() const { return false; }
};

class SteadyClock final : public Clock {
public:
    // One is enough for the whole program: it keeps no state.
    static SteadyClock& Shared();

    TimePoint Now() const override { return std::chrono::steady_clock::now(); }
    void Pause(std::chrono::milliseconds span) override;
    void Sleep(std::chrono::microseconds span) override;
};

// What is left of `span` counted from `start`, never below zero.
std::chrono::milliseconds Remaining(const Clock& clock, Clock::TimePoint start,
                                    std::chrono::milliseconds span);

}  // namespace kr820::link
