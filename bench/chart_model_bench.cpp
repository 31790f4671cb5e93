// SPDX-License-Identifier: MIT
// How long laying a full logger memory onto a chart takes (33,000 T1/T2 pairs, the most a
// download holds), against writing the same points one at a time, and what saving and loading
// such a chart costs.
#include <benchmark/benchmark.h>

#include "core/chart/chart_model.h"
#include "core/chart/drawn_runs.h"
#include "core/data/data_set_store.h"

namespace kr820::core {
namespace {

constexpr int kFullMemoryPairs = 33'000;

const TDataSetStore& FullMemoryStore() {
    static const TDataSetStore store = [] {
        TDataSetStore s;
        s.AppendSet({.StartTime = 46000.0, .RateCode = 1, .SampleCount = kFullMemoryPairs});
        s.ReserveValues(kFullMemoryPairs);
        for (int p = 0; p < kFullMemoryPairs; ++p) {
            s.AppendPair(46000.0 + 2.0 * p * kOneSecond, 20.0f + 0.1f * (p % 50),
                         p % 97 == 0 ? 9999.0f : 30.0f);
        }
        return s;
    }();
    return store;
}

// What showing a data set does to the chart: size it, reset every point, lay the X and Y blocks.
void LayDataSet(ChartModel& chart) {
    const TDataSetStore& store = FullMemoryStore();
    const FlatRange set = store.SetRange(0);
    chart.Data().SetSubsets(2);
    chart.Data().SetPoints(kFullMemoryPairs);
    chart.Data().SetXDataII(ChartData::kAll, 0, 0.0);
    chart.Data().SetYDataII(ChartData::kAll, 0, 9999.0);
    chart.Data().SetXBlock({store.Times().data() + set.First, static_cast<size_t>(set.Count)});
    chart.Data().SetYBlock({store.Values().data() + set.First, static_cast<size_t>(set.Count)});
}

void BM_LayFullMemoryAsBlocks(benchmark::State& state) {
    ChartModel chart;
    for (auto _ : state) {
        LayDataSet(chart);
        benchmark::DoNotOptimize(chart.Data().YData(1, kFullMemoryPairs - 1));
    }
    state.SetItemsProcessed(state.iterations() * kFullMemoryPairs);
    state.counters["pairs"] = kFullMemoryPairs;
}
BENCHMARK(BM_LayFullMemoryAsBlocks)->Unit(benchmark::kMicrosecond);

void BM_LayFullMemoryPointByPoint(benchmark::State& state) {
    const TDataSetStore& store = FullMemoryStore();
    ChartModel chart;
    chart.Data().SetSubsets(2);
    chart.Data().SetPoints(kFullMemoryPairs);
    for (auto _ : state) {
        for (int p = 0; p < kFullMemoryPairs; ++p) {
            for (int s = 0; s < 2; ++s) {
                chart.Data().SetXDataII(s, p, store.Times()[2 * p + s]);
                chart.Data().SetYData(s, p, store.Values()[2 * p + s]);
            }
        }
        benchmark::DoNotOptimize(chart.Data().YData(1, kFullMemoryPairs - 1));
    }
    state.SetItemsProcessed(state.iterations() * kFullMemoryPairs);
}
BENCHMARK(BM_LayFullMemoryPointByPoint)->Unit(benchmark::kMicrosecond);

void BM_SaveFullMemoryChart(benchmark::State& state) {
    ChartModel chart;
    LayDataSet(chart);
    for (auto _ : state) {
        const QByteArray block = chart.SaveToBlock();
        benchmark::DoNotOptimize(block.data());
        state.counters["bytes"] = static_cast<double>(block.size());
    }
}
BENCHMARK(BM_SaveFullMemoryChart)->Unit(benchmark::kMicrosecond);

void BM_LoadFullMemoryChart(benchmark::State& state) {
    ChartModel source;
    LayDataSet(source);
    const QByteArray block = source.SaveToBlock();
    ChartModel chart;
    for (auto _ : state) {
        if (chart.LoadFromBlock(block) != ChartLoadResult::Loaded) state.SkipWithError("refused");
    }
}
BENCHMARK(BM_LoadFullMemoryChart)->Unit(benchmark::kMicrosecond);

void BM_DrawnRunsOfFullMemory(benchmark::State& state) {
    ChartModel chart;
    LayDataSet(chart);
    for (auto _ : state) {
        const auto runs = DrawnRuns(chart.Data().X(1), chart.Data().Y(1), 9999.0, 0.0);
        benchmark::DoNotOptimize(runs.data());
    }
}
BENCHMARK(BM_DrawnRunsOfFullMemory)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kr820::core
