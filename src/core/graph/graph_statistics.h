// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <optional>

#include "core/time/date_time.h"

namespace kr820::core {

class ChartData;

// One channel's figures over every point of the chart, whatever the zoom.
struct ChannelStatistics {
    float Maximum = -9999.0f;
    TDateTime MaximumTime = 0;
    float Minimum = 9999.0f;
    TDateTime MinimumTime = 0;
    // Single precision, as the boxes have always added up.
    float Sum = 0.0f;
    int Count = 0;  // values inside the +-3000 window, the ones averaged
};

struct GraphStatistics {
    TDateTime FirstTime = 0;
    // Mean spacing of the points, to the nearest second; none when that many seconds do not fit
    // the box's integer (a span of millions of days).
    std::optional<int> SamplingSeconds = 0;
    int Points = 0;
    std::array<ChannelStatistics, 2> Channels;  // T1, T2
};

// One pass over subsets 0 and 1. On equal extremes the earlier point keeps its place.
GraphStatistics ComputeGraphStatistics(const ChartData& data);

// A MAX or MIN box: "OL" for a limit marker, else the value with one decimal, "@" and its time.
QString ExtremeText(float value, TDateTime time, const QLocale& locale);
// The sampling rate box: mm:ss, or "****" when the spacing has no value it can hold.
QString SamplingRateText(const std::optional<int>& seconds);
// An AVG box: the mean with three decimals, or "****" when no value lies inside the window.
QString AverageText(const ChannelStatistics& channel, const QLocale& locale);

}  // namespace kr820::core
