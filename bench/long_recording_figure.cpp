// SPDX-License-Identifier: MIT
// A long recording in the store: appending 10,000,000 readings, opening the store and showing
// it whole, redrawing at four zoom levels, the pointer readout, the store's size and the peak
// memory with it open. Figures are medians on a warm page cache.
//   long_recording_figure [readings] [folder]
#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <random>

#include "store/store_reader.h"
#include "store/store_writer.h"
#include "store_figures.h"

using namespace kr820;
using namespace kr820::bench;
using store::StoredReading;

namespace {

constexpr int kPixels = 1920;
constexpr qint64 kStartMs = 1'700'000'000'000;

// An oven's two channels at one reading a second, with noise and a probe out now and then.
StoredReading Reading(qint64 i) {
    StoredReading r;
    r.TimeMs = kStartMs + i * 1000;
    const double hours = double(i) / 3600.0;
    r.T1 = float(180.0 + 20.0 * std::sin(hours / 5.0) + double((i * 7919) % 17) * 0.1);
    r.T2 = float(25.0 + 3.0 * std::sin(hours / 24.0) + double((i * 104729) % 11) * 0.1);
    r.T2Valid = i % 100'003 != 0;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 count = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10'000'000;
    QTemporaryDir temp;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    const QString path = folder + QStringLiteral("/long.kr820");
    QFile::remove(path);
    constexpr qint64 kTimed = 2000;  // single appends timed at each end
    if (count < 4 * kTimed) {
        std::fprintf(stderr, "at least %lld readings\n", 4 * kTimed);
        return 2;
    }

    std::printf("long recording: %lld readings, %d pixels wide\n", count, kPixels);
    store::StoreHeader header;
    header.StartMs = kStartMs;
    QString error;
    auto writer = store::StoreWriter::Create(path, header, &error);
    if (!writer) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    // Single appends, each committed as a recording commits them, at the start and at the end;
    // the middle in batches of 4096 (one commit each) so that the figure runs in minutes.
    std::vector<double> early, late;
    qint64 i = 0;
    for (; i < kTimed; ++i) early.push_back(TimeUs([&] { writer->Append(Reading(i)); }));
    std::vector<StoredReading> batch;
    const double fillUs = TimeUs([&] {
        while (i < count - kTimed) {
            batch.clear();
            for (qint64 end = std::min(count - kTimed, i + 4096); i < end; ++i) {
                batch.push_back(Reading(i));
            }
            if (!writer->AppendMany(batch)) break;
        }
    });
    const qint64 filled = count - 2 * kTimed;
    for (; i < count; ++i) late.push_back(TimeUs([&] { writer->Append(Reading(i)); }));
    if (writer->Failed() || writer->Count() != count) {
        std::fprintf(stderr, "%s\n", qPrintable(writer->FailureReason()));
        return 1;
    }
    writer.reset();
    const auto mean = [](const std::vector<double>& values, size_t from) {
        double sum = 0;
        for (size_t k = from; k < values.size(); ++k) sum += values[k];
        return sum / double(values.size() - from);
    };
    // The median is a plain commit; the mean takes in the commit in ten (ten seconds of
    // readings) that waits for the disk.
    std::printf(
        "  append, one commit each: readings 1,000-2,000 median %.1f us (mean %.1f us), "
        "the last 2,000 median %.1f us (mean %.1f us)\n",
        Median({early.begin() + 1000, early.end()}), mean(early, 1000), Median(late),
        mean(late, 0));
    std::printf("  append in batches of 4096: %.2f us per reading (%.1f s for %lld)\n",
                fillUs / double(filled), fillUs / 1e6, filled);
    const qint64 bytes = QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
    std::printf("  store size: %.1f MB, %.1f bytes per reading including the envelopes\n",
                double(bytes) / 1e6, double(bytes) / double(count));

    ResetPeakRss();
    const long rssBefore = RssKiB();
    std::vector<double> openUs;
    for (int run = 0; run < 7; ++run) {
        openUs.push_back(TimeUs([&] {
            auto reader = store::StoreReader::Open(path, &error);
            const auto first = reader->At(0), last = reader->At(reader->Count() - 1);
            reader->Draw(first->TimeMs, last->TimeMs, kPixels);
        }));
    }
    std::printf("  open and draw whole: %.1f ms\n", Median(openUs) / 1000);

    auto reader = store::StoreReader::Open(path, &error);
    const qint64 first = reader->At(0)->TimeMs, last = reader->At(count - 1)->TimeMs;
    std::mt19937_64 random(1);
    for (qint64 zoom : {1LL, 16LL, 256LL, 4096LL, 65536LL}) {
        const qint64 span = (last - first) / zoom;
        std::uniform_int_distribution<qint64> at(first, last - span);
        std::vector<double> drawUs;
        int level = 0;
        bool points = false;
        size_t items = 0;
        for (int run = 0; run < 50; ++run) {
            const qint64 from = at(random);
            drawUs.push_back(TimeUs([&] {
                const auto plan = reader->Draw(from, from + span, kPixels);
                level = plan->Level;
                points = plan->DrawsPoints;
                items = points ? plan->Points.size() : plan->Columns.size();
            }));
        }
        std::printf(
            "  redraw 1/%-6lld of the range (%lld readings): %.2f ms (%zu %s)\n", zoom,
            count / zoom, Median(drawUs) / 1000, items,
            points ? "points" : qPrintable(QStringLiteral("columns of level %1").arg(level)));
    }
    std::uniform_int_distribution<qint64> at(first, last);
    std::vector<double> readoutUs;
    for (int run = 0; run < 1000; ++run) {
        const qint64 time = at(random);
        readoutUs.push_back(TimeUs([&] { reader->At(*reader->Nearest(time)); }));
    }
    std::printf("  pointer readout: %.1f us\n", Median(readoutUs));
    std::vector<double> summaryUs;
    std::uniform_int_distribution<qint64> index(0, count);
    for (int run = 0; run < 200; ++run) {
        qint64 a = index(random), b = index(random);
        if (a > b) std::swap(a, b);
        summaryUs.push_back(TimeUs([&] { reader->Summarize(a, b); }));
    }
    std::printf("  statistics of a range: %.1f us\n", Median(summaryUs));
    std::printf("  RSS with the store open: %ld KiB before opening, %ld KiB peak\n", rssBefore,
                PeakRssKiB());
    return 0;
}
