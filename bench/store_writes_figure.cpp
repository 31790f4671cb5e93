// SPDX-License-Identifier: MIT
// What a recording store costs the disk: the bytes this process has the system write
// (write_bytes of /proc/self/io: the log, its checkpoints and the file, counted as the pages they
// dirty) for each reading appended one commit at a time at a steady pace, and the bytes on disk
// a reading of a long recording takes.
//   store_writes_figure [readings=60] [ms between readings=1000] [long readings=864000] [folder=.]
// With 0 ms between readings their times still step by a second, so that the writer syncs as
// often as it would; only the system's own write-back of old dirty pages is left out.
// The store goes into a folder of the current one: /tmp may be a RAM disk, which writes nothing.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdio>

#include "store/store_writer.h"

using namespace kr820;

namespace {

qint64 WriteBytes() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("write_bytes:")) return line.mid(12).trimmed().toLongLong();
    }
    return -1;
}

qint64 BytesOnDisk(const QString& path) {
    return QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
}

// A thermocouple at one reading a second: a slow swing in tenths, a jitter of milliseconds.
store::StoredReading Reading(qint64 startMs, qint64 i, qint64 stepMs) {
    store::StoredReading r;
    r.TimeMs = startMs + i * stepMs + (i % 7 == 3 ? 2 : 0);
    r.T1 = float(std::lround(215 + 40 * std::sin(double(i) / 900.0)) / 10.0);
    r.T2 = float(std::lround(-38 + 15 * std::cos(double(i) / 1300.0)) / 10.0);
    return r;
}

store::StoreHeader Header(qint64 startMs) {
    store::StoreHeader header;
    header.StartMs = startMs;
    header.RateSeconds = 1;
    header.Device = QStringLiteral("/dev/ttyUSB0");
    return header;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qint64 readings = args.size() > 1 ? args[1].toLongLong() : 60;
    const int paceMs = args.size() > 2 ? args[2].toInt() : 1000;
    const qint64 longReadings = args.size() > 3 ? args[3].toLongLong() : 864'000;
    const QString folder = args.size() > 4 ? args[4] : QDir::currentPath();
    QTemporaryDir dir(folder + QStringLiteral("/store_writes-XXXXXX"));
    if (!dir.isValid() || readings < 1 || longReadings < 1) {
        std::fprintf(stderr, "no folder to write in, or nothing to write\n");
        return 1;
    }

    // Paced: the readings come as a meter gives them, on the wall clock.
    const qint64 startMs = QDateTime::currentMSecsSinceEpoch();
    const QString paced = dir.filePath(QStringLiteral("paced.kr8db"));
    QString error;
    auto writer = store::StoreWriter::Create(paced, Header(startMs), &error);
    if (!writer) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const qint64 before = WriteBytes();
    for (qint64 i = 0; i < readings; ++i) {
        if (paceMs > 0) QThread::msleep(paceMs);
        if (!writer->Append(Reading(startMs, i, 1000))) {
            std::fprintf(stderr, "%s\n", qPrintable(writer->FailureReason()));
            return 1;
        }
    }
    const qint64 written = WriteBytes() - before;
    writer.reset();
    std::printf(
        "%lld readings, one commit each, %d ms apart: %.0f bytes written a reading "
        "(%lld bytes)\n",
        readings, paceMs, double(written) / double(readings), written);

    // Long: the size of a recording of many days, appended an hour at a time.
    const QString longPath = dir.filePath(QStringLiteral("long.kr8db"));
    writer = store::StoreWriter::Create(longPath, Header(startMs), &error);
    if (!writer) return 1;
    std::vector<store::StoredReading> hour;
    for (qint64 i = 0; i < longReadings;) {
        hour.clear();
        for (; i < longReadings && hour.size() < 3600; ++i)
            hour.push_back(Reading(startMs, i, 1000));
        if (!writer->AppendMany(hour)) {
            std::fprintf(stderr, "%s\n", qPrintable(writer->FailureReason()));
            return 1;
        }
    }
    writer->Finish(hour.back().TimeMs);
    writer.reset();
    std::printf("%lld readings of a long recording: %.2f bytes on disk a reading (%lld bytes)\n",
                longReadings, double(BytesOnDisk(longPath)) / double(longReadings),
                BytesOnDisk(longPath));
    return 0;
}
