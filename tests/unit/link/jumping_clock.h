// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "link/clock.h"

namespace kr820::testing {

// A clock that stands still until something waits on it, and then jumps: a pause of three
// seconds costs no time at all. Nothing runs meanwhile; a scripted port moves it too.
class JumpingClock : public link::Clock {
public:
    TimePoint Now() const override { return m_now; }
    void Pause(std::chrono::milliseconds span) override {
        m_paused += span;
        Advance(span);
    }
    void Sleep(std::chrono::microseconds span) override { Advance(span); }

    void Advance(Clock::TimePoint::duration span) { m_now += span; }
    void AdvanceTo(TimePoint when) {
        if (when > m_now) m_now = when;
    }
    // Time since the clock was made, and the part of it spent in pauses.
    std::chrono::milliseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(m_now - kStart);
    }
    std::chrono::milliseconds Paused() const { return m_paused; }

private:
    static constexpr TimePoint kStart{std::chrono::hours(1)};
    TimePoint m_now = kStart;
    std::chrono::milliseconds m_paused{0};
};

}  // namespace kr820::testing
