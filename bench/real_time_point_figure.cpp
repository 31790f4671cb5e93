// SPDX-License-Identifier: MIT
// What one real-time point costs the real-time window early and late in a long recording (point
// 100 against point 99,999 of 100,000), and a replot of the full chart. The drawing of a point is
// coalesced into the next pass of the event loop, so the point's own cost and the replot are
// measured apart. Prints medians.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "graph/chart_view.h"
#include "graph/frm_graph.h"

namespace {

constexpr int kPoints = 100000;
constexpr int kSamplesPerPlace = 200;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kr820::graph::TfrmGraph window(kr820::graph::GraphRole::RealTime,
                                   kr820::graph::TfrmGraph::kRealTimeCaption);
    window.SetUpRealTime();
    window.resize(900, 600);
    window.show();
    const kr820::core::TDateTime start = kr820::core::NowTDateTime();
    window.BeginRealTimeRecording(kPoints, start);
    const kr820::core::TDateTime step = 200 * kr820::core::kOneSecond;

    std::vector<double> early, late;
    QElapsedTimer clock;
    for (int point = 0; point < kPoints; ++point) {
        const kr820::core::RealTimeSample sample{20.0f + 5.0f * std::sin(point / 500.0f),
                                                 30.0f + (point % 97) * 0.1f, false,
                                                 point % 5000 == 0};
        const bool measured =
            (point >= 100 && point < 100 + kSamplesPerPlace) || point >= kPoints - kSamplesPerPlace;
        if (measured) clock.start();
        window.ShowRealTimePoint(point, sample, start + point * kr820::core::kOneSecond, step);
        if (measured) (point < kPoints / 2 ? early : late).push_back(clock.nsecsElapsed() / 1000.0);
    }

    std::vector<double> replots;
    for (int run = 0; run < 15; ++run) {
        clock.start();
        window.View().Flush();
        window.View().replot(QCustomPlot::rpImmediateRefresh);
        replots.push_back(clock.nsecsElapsed() / 1e6);
        window.Chart().Redraw();
    }
    const double earlyMedian = Median(early);
    const double lateMedian = Median(late);
    std::printf(
        "real-time point: median %.1f us near point 100, %.1f us near point 99,999 "
        "(ratio %.2f)\n",
        earlyMedian, lateMedian, lateMedian / earlyMedian);
    std::printf("replot of the full %d-point chart: median %.1f ms\n", kPoints, Median(replots));
    return 0;
}
