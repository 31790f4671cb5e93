// SPDX-License-Identifier: MIT
#include "graph/whole_time_ticker.h"

#include <algorithm>
#include <array>

namespace kr820::graph {

namespace {

constexpr double kMinute = 60;
constexpr double kHour = 60 * kMinute;
constexpr double kDay = 24 * kHour;
constexpr std::array<double, 22> kStepsSeconds = {
    1,        2,           5,           10,           15,           30,
    kMinute,  2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute,
    kHour,    2 * kHour,   3 * kHour,   6 * kHour,    12 * kHour,   kDay,
    2 * kDay, 5 * kDay,    7 * kDay,    14 * kDay};

}  // namespace

double WholeTimeStepSeconds(double spanSeconds, int tickCount) {
    // A span read off an axis of date-times may come out a hair long.
    const double wanted = spanSeconds / std::max(tickCount, 1) * (1 - 1e-9);
    for (const double step : kStepsSeconds) {
        if (step >= wanted) return step;
    }
    return 0;
}

double WholeTimeTicker::getTickStep(const QCPRange& range) {
    // Months and years as the date-time ticker has them, with its strategy for them.
    const double dateTimeStep = QCPAxisTickerDateTime::getTickStep(range);
    const double step = WholeTimeStepSeconds(range.size(), tickCount());
    if (step <= 0) return dateTimeStep;
    // Day steps keep the ticks at one time of day; shorter ones fall on multiples of themselves.
    mDateStrategy = step >= kDay ? dsUniformTimeInDay : dsNone;
    return step;
}

}  // namespace kr820::graph
