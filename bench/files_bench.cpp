// SPDX-License-Identifier: MIT
// Writing and reading back a 33,000-point text file, and saving and loading the same chart as a
// graph file, without dialogs.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cmath>

#include "core/chart/chart_model.h"
#include "core/files/graph_file.h"
#include "core/files/point_range.h"
#include "core/files/regional_formats.h"
#include "core/files/text_file_reader.h"
#include "core/files/text_file_writer.h"

namespace {

constexpr int kPoints = 33000;

kr820::core::ChartModel& FullChart() {
    static kr820::core::ChartModel chart;
    static bool filled = false;
    if (!filled) {
        kr820::core::ChartData& data = chart.Data();
        data.SetSubsets(2);
        data.SetPoints(kPoints);
        for (int p = 0; p < kPoints; ++p) {
            const double x = 46363.0 + p * 2.0 / 86400.0;
            data.SetXDataII(0, p, x);
            data.SetXDataII(1, p, x);
            data.SetYData(0, p, 20.0f + 5.0f * std::sin(p / 300.0f));
            data.SetYData(1, p, p % 1000 == 0 ? 9999.0f : 30.0f + (p % 40) * 0.1f);
        }
        filled = true;
    }
    return chart;
}

const QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

void WriteText(benchmark::State& state) {
    const auto formats = kr820::core::RegionalFormats::FromLocale(QLocale(QLocale::English));
    const QString path = Folder().filePath("points.txt");
    for (auto _ : state) {
        const auto outcome =
            kr820::core::WriteTextFile(FullChart().Data(), path, kr820::core::TextSeparator::Tab,
                                       kr820::core::AllPoints(kPoints), formats);
        if (!outcome.File.Written()) state.SkipWithError("write failed");
    }
}
BENCHMARK(WriteText)->Unit(benchmark::kMillisecond);

void ReadText(benchmark::State& state) {
    const auto formats = kr820::core::RegionalFormats::FromLocale(QLocale(QLocale::English));
    const QString path = Folder().filePath("points.txt");
    kr820::core::WriteTextFile(FullChart().Data(), path, kr820::core::TextSeparator::Tab,
                               kr820::core::AllPoints(kPoints), formats);
    for (auto _ : state) {
        const auto read = kr820::core::ReadTextFile(path, kr820::core::TextSeparator::Tab, formats);
        if (read.Content.Points != kPoints) state.SkipWithError("short read");
    }
}
BENCHMARK(ReadText)->Unit(benchmark::kMillisecond);

void SaveGraphFile(benchmark::State& state) {
    const QString path = Folder().filePath("chart.ghf");
    for (auto _ : state) benchmark::DoNotOptimize(kr820::core::WriteGraphFile(FullChart(), path));
}
BENCHMARK(SaveGraphFile)->Unit(benchmark::kMillisecond);

void LoadGraphFile(benchmark::State& state) {
    const QString path = Folder().filePath("chart.ghf");
    kr820::core::WriteGraphFile(FullChart(), path);
    kr820::core::ChartModel loaded;
    for (auto _ : state) benchmark::DoNotOptimize(kr820::core::ReadGraphFile(path, loaded));
}
BENCHMARK(LoadGraphFile)->Unit(benchmark::kMillisecond);

}  // namespace
