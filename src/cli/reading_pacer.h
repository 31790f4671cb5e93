// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <optional>

#include "link/clock.h"

namespace kr820::cli {

// How early a frame may come and still count as due: frames come about once a second, a little
// early or late.
inline constexpr std::chrono::milliseconds kReadingEarliness{500};

// Picks the live readings that keep a pace of one every so many seconds. Frames come about once
// a second, a little early or late: a frame within half a second of its due time counts as on
// time, so that a pace of 1 takes every frame and a late frame does not shift the pace.
class ReadingPacer {
public:
    explicit ReadingPacer(std::chrono::seconds every) : m_every(every) {}

    // Whether a reading that arrived at `now` is printed.
    bool Take(link::Clock::TimePoint now);

private:
    std::chrono::seconds m_every;
    std::optional<link::Clock::TimePoint> m_due;
};

}  // namespace kr820::cli
