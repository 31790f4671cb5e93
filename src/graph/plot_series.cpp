// SPDX-License-Identifier: MIT
#include "graph/plot_series.h"

#include <algorithm>
#include <limits>

#include "core/chart/drawn_runs.h"

namespace kr820::graph {

namespace {
// 1 January 1970 in days since 30 December 1899.
constexpr double kUnixEpochDays = 25569.0;
}  // namespace

double PlotKey(core::TDateTime x, bool dateTimes) {
    return dateTimes ? (x - kUnixEpochDays) * core::kSecondsPerDay : x;
}

core::TDateTime ChartX(double key, bool dateTimes) {
    return dateTimes ? key / core::kSecondsPerDay + kUnixEpochDays : key;
}

PlotSeries BuildPlotSeries(std::span<const core::TDateTime> x, std::span<const float> y,
                           double nullY, double gapThresholdDays, bool dateTimes) {
    PlotSeries series;
    const auto available = std::min(x.size(), y.size());
    const auto filled =
        static_cast<std::size_t>(std::find(x.begin(), x.begin() + available, 0.0) - x.begin());
    series.FilledPoints = static_cast<qsizetype>(filled);

    const auto runs = core::DrawnRuns(x.first(filled), y.first(filled), nullY, gapThresholdDays);
    qsizetype total = 0;
    for (const core::PointRun& run : runs) total += run.Count + 1;
    series.Line.reserve(total);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    double lastKey = -std::numeric_limits<double>::infinity();
    for (const core::PointRun& run : runs) {
        const double firstKey = PlotKey(x[run.First], dateTimes);
        if (!series.Line.isEmpty()) {
            // Between the runs, so that it sorts between them.
            series.Line.append(QCPGraphData((lastKey + firstKey) / 2, nan));
        }
        for (qsizetype i = run.First; i < run.First + run.Count; ++i) {
            const double key = PlotKey(x[i], dateTimes);
            if (key < lastKey) series.Sorted = false;
            lastKey = key;
            series.Line.append(QCPGraphData(key, y[i]));
        }
        if (run.Count == 1) series.Isolated.append(series.Line.back());
    }
    return series;
}

}  // namespace kr820::graph
