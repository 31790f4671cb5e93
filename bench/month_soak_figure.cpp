// SPDX-License-Identifier: MIT
// A month of recording at one reading a second on a stepped clock (2,592,000 seconds): the meter
// unplugged and back 1,000 times, the recording process killed with SIGKILL and started again
// 10 times. Figures: readings lost that were appended before a kill (goal: none), gaps marked,
// holes that no gap explains, and the recording process's memory at its start and end.
//   month_soak_figure [seconds] [folder]
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "store/store_reader.h"
#include "store/store_writer.h"
#include "store_figures.h"

using namespace kr820;
using namespace kr820::bench;
using store::StoredReading;

namespace {

constexpr qint64 kStartMs = 1'700'000'000'000;
constexpr int kUnplugs = 1000;
constexpr int kKills = 10;
constexpr qint64 kRestartSeconds = 30;  // the recording process down after a kill

// The freezer's readings: what second s of the month reads, the same in every process.
StoredReading ReadingAt(qint64 second) {
    StoredReading r;
    r.TimeMs = kStartMs + second * 1000;
    r.T1 = float(-18.0 + 1.5 * std::sin(double(second) / 1800.0));
    r.T2 = float(4.0 + 0.5 * std::sin(double(second) / 700.0));
    return r;
}

// The seconds the meter is unplugged: [from, to) pairs in order, the same in every process.
std::vector<std::pair<qint64, qint64>> Unplugged(qint64 seconds) {
    std::mt19937_64 random(25);
    std::vector<std::pair<qint64, qint64>> spans;
    const qint64 spacing = seconds / (kUnplugs + 1);
    std::uniform_int_distribution<qint64> jitter(0, spacing / 2), length(5, 600);
    for (int k = 1; k <= kUnplugs; ++k) {
        const qint64 from = k * spacing + jitter(random);
        spans.push_back({from, std::min(from + std::min(length(random), spacing / 3), seconds)});
    }
    return spans;
}

enum Report : qint64 { kAppended = 0, kRssStart = 1, kRssEnd = 2 };

void Tell(int fd, Report kind, qint64 value) {
    const qint64 record[2] = {kind, value};
    if (write(fd, record, sizeof record) != sizeof record) _exit(4);
}

// The recording process: goes on from where the store ends, one committed reading a simulated
// second, marking the meter's absences and its own.
int RunRecorder(const QString& path, qint64 seconds, int reportFd) {
    QString error;
    std::unique_ptr<store::StoreWriter> writer;
    qint64 second = 0;
    if (QFile::exists(path)) {
        writer = store::StoreWriter::Resume(path, &error);
        if (!writer) return std::fprintf(stderr, "%s\n", qPrintable(error)), 1;
        const qint64 lastSecond =
            writer->LastTimeMs() ? (*writer->LastTimeMs() - kStartMs) / 1000 : -1;
        second = lastSecond + 1 + kRestartSeconds;
        writer->MarkGap({kStartMs + (lastSecond + 1) * 1000, kStartMs + second * 1000,
                         store::GapCause::RecorderStopped});
    } else {
        store::StoreHeader header;
        header.StartMs = kStartMs;
        header.Device = QStringLiteral("/dev/ttyUSB0");
        writer = store::StoreWriter::Create(path, header, &error);
        if (!writer) return std::fprintf(stderr, "%s\n", qPrintable(error)), 1;
    }
    Tell(reportFd, kRssStart, RssKiB());
    const auto unplugged = Unplugged(seconds);
    auto span = unplugged.begin();
    for (; second < seconds; ++second) {
        while (span != unplugged.end() && span->second <= second) ++span;
        const bool meterThere = span == unplugged.end() || second < span->first;
        if (!meterThere) {
            if (!writer->GapOpen())
                writer->BeginGap(kStartMs + second * 1000, store::GapCause::LinkLost);
            continue;
        }
        if (writer->GapOpen()) writer->EndGap(kStartMs + second * 1000);
        if (!writer->Append(ReadingAt(second))) {
            return std::fprintf(stderr, "%s\n", qPrintable(writer->FailureReason())), 1;
        }
        Tell(reportFd, kAppended, writer->Count());
    }
    writer->Finish(kStartMs + seconds * 1000);
    Tell(reportFd, kRssEnd, RssKiB());
    return 0;
}

pid_t StartRecorder(const QString& path, qint64 seconds, int reportFd) {
    const pid_t pid = fork();
    if (pid == 0) {
        const QByteArray fd = QByteArray::number(reportFd), length = QByteArray::number(seconds);
        const QByteArray file = path.toLocal8Bit();
        execl("/proc/self/exe", "month_soak_figure", "--recorder", file.constData(),
              length.constData(), fd.constData(), nullptr);
        _exit(127);
    }
    return pid;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && QByteArray(argv[1]) == "--recorder") {
        QCoreApplication app(argc, argv);
        return RunRecorder(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toLongLong(),
                           QByteArray(argv[4]).toInt());
    }
    QCoreApplication app(argc, argv);
    const qint64 seconds = argc > 1 ? QByteArray(argv[1]).toLongLong() : 30LL * 86400;
    QTemporaryDir temp;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    const QString path = folder + QStringLiteral("/month.kr820");
    QFile::remove(path);
    std::printf("month soak: %lld simulated seconds, %d unplugs, %d kills\n", seconds, kUnplugs,
                kKills);

    // Kills at evenly spread numbers of readings.
    qint64 expectedReadings = seconds - kKills * kRestartSeconds;
    for (const auto& [from, to] : Unplugged(seconds)) expectedReadings -= to - from;
    qint64 lost = 0, lastAppended = 0;
    long rssStartFirst = -1, rssStartLast = -1, rssEnd = -1;
    const auto start = std::chrono::steady_clock::now();
    for (int run = 0; run <= kKills; ++run) {
        int fds[2];
        if (pipe(fds) != 0) return 1;
        const pid_t child = StartRecorder(path, seconds, fds[1]);
        close(fds[1]);
        const qint64 killAt = run < kKills ? expectedReadings * (run + 1) / (kKills + 1) : -1;
        bool killed = false;
        // The reports come in bulk; a record may straddle two reads.
        std::vector<char> pending;
        char buffer[1 << 16];
        for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;) {
            pending.insert(pending.end(), buffer, buffer + got);
            size_t used = 0;
            for (; used + 16 <= pending.size(); used += 16) {
                qint64 record[2];
                std::memcpy(record, pending.data() + used, sizeof record);
                if (record[0] == kAppended) lastAppended = record[1];
                if (record[0] == kRssStart)
                    (rssStartFirst < 0 ? rssStartFirst : rssStartLast) = record[1];
                if (record[0] == kRssEnd) rssEnd = record[1];
            }
            pending.erase(pending.begin(), pending.begin() + long(used));
            if (!killed && killAt >= 0 && lastAppended >= killAt) {
                kill(child, SIGKILL);
                killed = true;
            }
        }
        close(fds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (run < kKills && !(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)) {
            std::fprintf(stderr, "the recorder ended before its kill (status %d)\n", status);
            return 1;
        }
        QString error;
        auto reader = store::StoreReader::Open(path, &error);
        if (!reader) return std::fprintf(stderr, "%s\n", qPrintable(error)), 1;
        lost += std::max<qint64>(0, lastAppended - reader->Count());
    }
    const double runSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // Every reading as it was taken, and every second without one inside a marked gap.
    QString error;
    auto reader = store::StoreReader::Open(path, &error);
    if (!reader) return std::fprintf(stderr, "%s\n", qPrintable(error)), 1;
    const auto gaps = reader->Gaps();
    int linkGaps = 0, recorderGaps = 0, openGaps = 0;
    for (const auto& gap : gaps) {
        (gap.Cause == store::GapCause::LinkLost ? linkGaps : recorderGaps) += 1;
        openGaps += !gap.ToMs;
    }
    // The marked stretches as one list of disjoint spans (a kill inside an absence of the
    // meter makes two gaps that overlap).
    std::vector<std::pair<qint64, qint64>> marked;
    for (const auto& gap : gaps) {
        const qint64 to = gap.ToMs.value_or(std::numeric_limits<qint64>::max());
        if (!marked.empty() && gap.FromMs <= marked.back().second) {
            marked.back().second = std::max(marked.back().second, to);
        } else {
            marked.push_back({gap.FromMs, to});
        }
    }
    qint64 wrong = 0, holes = 0, previous = -1;
    reader->ForEach(0, reader->Count(), [&](qint64, const StoredReading& r) {
        const qint64 second = (r.TimeMs - kStartMs) / 1000;
        wrong += !(r == ReadingAt(second));
        if (previous >= 0 && second != previous + 1) {
            const qint64 from = kStartMs + (previous + 1) * 1000, to = kStartMs + second * 1000;
            holes += std::none_of(marked.begin(), marked.end(), [&](const auto& span) {
                return span.first <= from && span.second >= to;
            });
        }
        previous = second;
        return true;
    });
    std::printf("  %lld readings in %.0f s; readings lost that were appended before a kill: %lld\n",
                reader->Count(), runSeconds, lost);
    std::printf(
        "  gaps marked: %d meter unplugged, %d recorder killed, %d left open; "
        "holes without a gap: %lld; readings not as taken: %lld\n",
        linkGaps, recorderGaps, openGaps, holes, wrong);
    std::printf(
        "  recorder RSS: %ld KiB at the first start, %ld KiB at the last start, %ld KiB "
        "at the end\n",
        rssStartFirst, rssStartLast, rssEnd);
    return lost == 0 && wrong == 0 && holes == 0 ? 0 : 1;
}
