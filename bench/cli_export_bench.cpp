// SPDX-License-Identifier: MIT
// "kr820-cli export --all" of the largest logger memory: the collection file read, decoded and
// turned into CSV text (the target is well under 100 ms), and the CSV text alone.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/files/export_rows.h"
#include "full_memory_image.h"

namespace {

using namespace kr820::core;

const QString& FullCollection() {
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("full.820"));
    if (!QFile::exists(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(kr820::bench::FullImage());
    }
    return path;
}

QByteArray ExportAll(const ExportOpenOutcome& opened) {
    const RowLayout layout{RowFormat::Csv, true, {}};
    QByteArray text = HeaderLine(layout);
    for (const ExportedSet& set : opened.Sets)
        for (const ReadingRow& row : set.Rows) text += RowLine(row, layout);
    return text;
}

void BM_ExportFullCollectionToCsv(benchmark::State& state) {
    const RegionalFormats formats = RegionalFormats::FromLocale(QLocale::c());
    qsizetype bytes = 0;
    for (auto _ : state) {
        const ExportOpenOutcome opened = OpenForExport(FullCollection(), formats);
        if (opened.Status != ExportOpenStatus::Opened) {
            state.SkipWithError("the collection did not open");
            return;
        }
        const QByteArray text = ExportAll(opened);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["csv_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ExportFullCollectionToCsv)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_CsvTextOfDecodedSets(benchmark::State& state) {
    const ExportOpenOutcome opened =
        OpenForExport(FullCollection(), RegionalFormats::FromLocale(QLocale::c()));
    for (auto _ : state) benchmark::DoNotOptimize(ExportAll(opened).data());
}
BENCHMARK(BM_CsvTextOfDecodedSets)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace
