// SPDX-License-Identifier: MIT
#include "link/clock.h"

#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace kr820::link {

using std::chrono::milliseconds;

SteadyClock& SteadyClock::Shared() {
    static SteadyClock clock;
    return clock;
}

void SteadyClock::Pause(milliseconds span) {
    // A local event loop sleeps between events instead of spinning, and a nested pause inside a
    // handler that runs meanwhile returns on its own time.
    const TimePoint start = Now();
    for (milliseconds passed{0}; passed <= span;
         passed = std::chrono::duration_cast<milliseconds>(Now() - start)) {
        QEventLoop loop;
        QTimer::singleShot(span - passed + milliseconds(1), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

void SteadyClock::Sleep(std::chrono::microseconds span) { std::this_thread::sleep_for(span); }

milliseconds Remaining(const Clock& clock, Clock::TimePoint start, milliseconds span) {
    const auto left = span - std::chrono::duration_cast<milliseconds>(clock.Now() - start);
    return std::max(left, milliseconds(0));
}

}  // namespace kr820::link
