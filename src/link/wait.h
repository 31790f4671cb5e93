// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "link/clock.h"

namespace kr820::link {

// Lets time pass on `clock` while `busy` holds, at most for `limit`; a running tick or receive
// handler ends meanwhile.
template <typename Predicate>
void WaitWhile(Clock& clock, Predicate busy, std::chrono::milliseconds limit) {
    const Clock::TimePoint start = clock.Now();
    while (busy() && !clock.Stopping() && clock.Now() - start < limit)
        clock.Pause(std::chrono::milliseconds(1));
}

// The same on the steady clock, for windows that keep no clock of their own.
template <typename Predicate>
void WaitWhile(Predicate busy, std::chrono::milliseconds limit) {
    WaitWhile(SteadyClock::Shared(), busy, limit);
}

}  // namespace kr820::link
