// SPDX-License-Identifier: MIT
// A report over a long recording: every figure, the chart's columns and the hash of the exported
// rows of a store of 10,000,000 readings, in one pass. Figures are medians on a warm page cache.
//   report_figure [readings]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <vector>

#include "store/store_report.h"
#include "store/store_writer.h"
#include "store_figures.h"

using namespace kr820;
using namespace kr820::bench;

namespace {

constexpr qint64 kStartMs = 1'700'000'000'000;

// A cold store's two channels at one reading a second, now and then past 8 °C, a probe out
// now and then.
store::StoredReading Reading(qint64 i) {
    store::StoredReading r;
    r.TimeMs = kStartMs + i * 1000;
    const double hours = double(i) / 3600.0;
    r.T1 = float(5.0 + 3.5 * std::sin(hours / 5.0) + double((i * 7919) % 17) * 0.01);
    r.T2 = float(4.0 + 1.0 * std::sin(hours / 24.0));
    r.T2Valid = i % 100'003 != 0;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 count = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10'000'000;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("report.kr8db"));
    store::StoreHeader header;
    header.StartMs = kStartMs;
    QString error;
    auto writer = store::StoreWriter::Create(path, header, &error);
    if (!writer) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::vector<store::StoredReading> batch;
    for (qint64 i = 0; i < count; ++i) {
        batch.push_back(Reading(i));
        if (batch.size() == 4096 || i + 1 == count) {
            if (!writer->AppendMany(batch)) return 1;
            batch.clear();
        }
    }
    writer->Finish(kStartMs + count * 1000);
    writer.reset();

    core::ReportSettings settings;
    settings.Limits[0] = {8.0, 2.0};
    settings.Limits[1] = {8.0, 2.0};
    std::vector<double> seconds;
    core::ReportDocument document;
    for (int run = 0; run < 3; ++run) {
        auto reader = store::StoreReader::Open(path, &error);
        if (!reader) return 1;
        document = {};
        QElapsedTimer timer;
        timer.start();
        if (!store::ReportStore(*reader, settings, document)) return 1;
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::printf("report of %lld readings: %.3f s (median of 3), peak RSS %ld MB\n", count,
                Median(seconds), PeakRssKiB() / 1024);
    std::printf("  T1 MKT %.2f, %d excursions above 8.0\n",
                document.Figures.Channels[0].MeanKinetic.value_or(0),
                document.Figures.Channels[0].High->Excursions);
    return document.Figures.Readings == count ? 0 : 1;
}
