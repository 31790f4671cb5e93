// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

namespace kr820::link {

// Keeps processing window messages until more than `ms` milliseconds have passed, so that
// timers, receive events and the user's clicks go on meanwhile.
void WaitMs(int ms);

// Processes window messages while `busy` holds, at most for `limit`.
template <typename Predicate>
void WaitWhile(Predicate busy, std::chrono::milliseconds limit);

}  // namespace kr820::link

#include "link/wait_impl.h"
