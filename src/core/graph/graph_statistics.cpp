// SPDX-License-Identifier: MIT
#include "core/graph/graph_statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/chart/chart_data.h"
#include "core/data/limit_values.h"
#include "core/graph/graph_texts.h"

namespace kr820::core {
namespace {

// Half a second added and the fraction cut off, as the box has always shown it; none when the
// result is no int.
std::optional<int> RoundedSeconds(double seconds) {
    const double rounded = std::trunc(seconds + 0.5);
    constexpr double kLowest = std::numeric_limits<int>::min();
    constexpr double kHighest = std::numeric_limits<int>::max();
    if (!(rounded >= kLowest && rounded <= kHighest)) return std::nullopt;  // NaN too
    return static_cast<int>(rounded);
}

}  // namespace

GraphStatistics ComputeGraphStatistics(const ChartData& data) {
    GraphStatistics stats;
    const int points = data.Points();
    stats.Points = points;
    stats.FirstTime = data.XDataII(0, 0);
    if (points > 1) {
        const double spacingDays = (data.XDataII(0, points - 1) - stats.FirstTime) / (points - 1);
        stats.SamplingSeconds = RoundedSeconds(spacingDays * kSecondsPerDay);
    }
    for (int channel = 0; channel < 2; ++channel) {
        ChannelStatistics& c = stats.Channels[channel];
        const auto x = data.X(channel);
        const auto y = data.Y(channel);
        for (std::size_t i = 0; i < std::min(x.size(), y.size()); ++i) {
            const float value = y[i];
            if (value > c.Maximum) {
                c.Maximum = value;
                c.MaximumTime = x[i];
            }
            if (value < c.Minimum) {
                c.Minimum = value;
                c.MinimumTime = x[i];
            }
            if (value > -kOLThreshold && value < kOLThreshold) {
                c.Sum += value;
                ++c.Count;
            }
        }
    }
    return stats;
}

QString ExtremeText(float value, TDateTime time, const QLocale& locale) {
    if (IsShownAsOL(value)) return QString::fromLatin1(kOLText);
    return locale.toString(value, 'f', 1) + u'@' + DateTimeText(time, locale);
}

QString SamplingRateText(const std::optional<int>& seconds) {
    return seconds ? MmSsText(*seconds) : QStringLiteral("****");
}

QString AverageText(const ChannelStatistics& channel, const QLocale& locale) {
    if (channel.Count <= 0) return QStringLiteral("****");
    return locale.toString(static_cast<double>(channel.Sum) / channel.Count, 'f', 3);
}

}  // namespace kr820::core
