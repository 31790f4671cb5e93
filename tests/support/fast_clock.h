// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <thread>

#include "link/clock.h"

namespace kr820::testing {

// The steady clock sped up: every pause and limit passes `factor` times faster, while a meter
// emulated on a real line still answers in its own (far shorter) time. For tests that drive the
// whole program against the emulator and cannot jump over the line's waits.
class FastClock : public link::Clock {
public:
    explicit FastClock(int factor) : m_factor(factor) {}

    TimePoint Now() const override {
        return m_origin + (std::chrono::steady_clock::now() - m_origin) * m_factor;
    }
    void Pause(std::chrono::milliseconds span) override {
        link::SteadyClock::Shared().Pause(span / m_factor);
    }
    void Sleep(std::chrono::microseconds span) override {
        std::this_thread::sleep_for(span / m_factor);
    }

private:
    const int m_factor;
    const TimePoint m_origin = std::chrono::steady_clock::now();
};

}  // namespace kr820::testing
