// SPDX-License-Identifier: MIT
#include "graph/recording_plot.h"

#include <cmath>

#include "core/chart/chart_data.h"
#include "core/data/limit_values.h"
#include "core/time/local_time.h"
#include "store/wall_clock.h"

namespace kr820::graph {
namespace {

constexpr double kMsPerDay = 86'400'000.0;

struct ChartPoint {
    core::TDateTime X;
    float T1;
    float T2;
};

float SpanEnd(const store::ChannelSpan& span, bool maximum) {
    if (span.Empty()) return core::OverLimitValue;
    return maximum ? span.Max : span.Min;
}

}  // namespace

core::TDateTime ChartTimeOfMs(qint64 ms) { return store::WallClockOfMs(ms); }

qint64 MsOfChartTime(core::TDateTime x) {
    const double whole = std::floor(x * core::kSecondsPerDay) / core::kSecondsPerDay;
    const std::optional<core::UtcSeconds> seconds = core::InstantOfWallClock(whole);
    if (!seconds) return 0;
    return *seconds * 1000 + qint64(std::llround((x - whole) * kMsPerDay));
}

float ChartValue(float value, bool valid) { return valid ? value : core::OverLimitValue; }

void LayPlanOnChart(const store::DrawPlan& plan, core::ChartData& data) {
    std::vector<ChartPoint> points;
    if (plan.DrawsPoints) {
        points.reserve(plan.Points.size());
        for (const store::StoredReading& r : plan.Points)
            points.push_back({ChartTimeOfMs(r.TimeMs), ChartValue(r.T1, r.T1Valid),
                              ChartValue(r.T2, r.T2Valid)});
    } else {
        points.reserve(plan.Columns.size() * 2 + 16);
        int lastPixel = -2;
        bool maximumFirst = false;
        for (const store::DrawColumn& column : plan.Columns) {
            const store::Envelope& span = column.Span;
            const core::TDateTime first = ChartTimeOfMs(span.FirstMs);
            if (lastPixel >= 0 && column.Pixel > lastPixel + 1)
                points.push_back({first, core::OverLimitValue, core::OverLimitValue});
            const core::TDateTime last = ChartTimeOfMs(span.LastMs);
            points.push_back(
                {first, SpanEnd(span.T1, maximumFirst), SpanEnd(span.T2, maximumFirst)});
            points.push_back(
                {last, SpanEnd(span.T1, !maximumFirst), SpanEnd(span.T2, !maximumFirst)});
            maximumFirst = !maximumFirst;
            lastPixel = column.Pixel;
        }
    }
    data.SetSubsets(std::max(data.Subsets(), 2));
    data.SetPoints(int(points.size()));
    for (int i = 0; i < int(points.size()); ++i) {
        const ChartPoint& p = points[std::size_t(i)];
        data.SetXDataII(0, i, p.X);
        data.SetXDataII(1, i, p.X);
        data.SetYData(0, i, p.T1);
        data.SetYData(1, i, p.T2);
    }
}

}  // namespace kr820::graph
