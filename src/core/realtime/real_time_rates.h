// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>

#include "core/time/date_time.h"

namespace kr820::core {

// The sampling rates a real-time recording offers, with their mm:ss captions.
struct RealTimeRateChoice {
    const char* caption;
    int seconds;
};

inline constexpr std::array<RealTimeRateChoice, 13> kRealTimeRates{{
    {"00:01", 1},
    {"00:02", 2},
    {"00:05", 5},
    {"00:10", 10},
    {"00:15", 15},
    {"00:30", 30},
    {"01:00", 60},
    {"02:00", 120},
    {"05:00", 300},
    {"10:00", 600},
    {"15:00", 900},
    {"30:00", 1800},
    {"60:00", 3600},
}};

// The index of a caption in the list, or -1.
int RealTimeRateIndex(const QString& caption);

// A recording period as HH:MM:SS, each part of two digits at least (01:06:40; 99999:00:00), as
// the label beside it says.
QString PeriodText(long long seconds);

// Two readings of a recording further apart than this (in days) have readings missing between
// them: more than the rate and the ticks without a frame that a link is given before it counts
// as lost. The real-time graph breaks its line there, and its point list says so.
TDateTime ReadingGapThreshold(int rateSeconds);

}  // namespace kr820::core
