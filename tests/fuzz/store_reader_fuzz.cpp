// SPDX-License-Identifier: MIT
// A recording store file as the program reads it: opened, read, drawn, searched, its gaps and
// marks listed, followed, and resumed by a writer. Whatever the file holds, every answer stays
// inside the readings the reader says it has.
#include <QFile>
#include <limits>

#include "fuzz_support.h"
#include "store/extreme_search.h"
#include "store/store_reader.h"
#include "store/store_writer.h"

using namespace kr820;

namespace {

void Read(store::StoreReader& reader) {
    const qint64 count = reader.Count();
    KR820_FUZZ_CHECK(count >= 0 && count <= store::kMaxReadings);
    for (const qint64 index : {qint64(0), count / 2, count - 1, count, qint64(-1)}) {
        const auto reading = reader.At(index);
        KR820_FUZZ_CHECK(!reading || (index >= 0 && index < count));
    }
    qint64 seen = 0;
    reader.ForEach(0, std::min<qint64>(count, 600), [&](qint64 index, const store::StoredReading&) {
        KR820_FUZZ_CHECK(index == seen++);
        return true;
    });
    const qint64 startMs = reader.Header().StartMs;
    for (const qint64 timeMs : {startMs, startMs + 1000 * 300, std::numeric_limits<qint64>::min(),
                                std::numeric_limits<qint64>::max() - 1}) {
        const qint64 bound = reader.LowerBound(timeMs);
        KR820_FUZZ_CHECK(bound >= 0 && bound <= count);
        if (const auto nearest = reader.Nearest(timeMs))
            KR820_FUZZ_CHECK(*nearest >= 0 && *nearest < count);
    }
    const auto first = reader.At(0);
    const auto last = reader.At(count - 1);
    if (first && last) {
        for (const int pixels : {1, 37, 800}) {
            const auto plan = reader.Draw(first->TimeMs, last->TimeMs, pixels);
            if (!plan) continue;
            KR820_FUZZ_CHECK(plan->FirstIndex >= 0 && plan->EndIndex <= count);
            for (const auto& column : plan->Columns)
                KR820_FUZZ_CHECK(column.Pixel >= 0 && column.Pixel < pixels);
        }
        reader.Draw(std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(), 500);
    }
    if (const auto summary = reader.Summarize(0, count)) {
        for (int channel : {0, 1}) {
            const auto& span = channel == 0 ? summary->T1 : summary->T2;
            if (span.Empty()) continue;
            if (const auto at =
                    store::FirstReadingWith(reader, channel, store::Extreme::Maximum, span.Max)) {
                KR820_FUZZ_CHECK(*at >= 0 && *at < count);
            }
        }
    }
    reader.Gaps();
    reader.AlarmMarks(std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFile scratch(".kr820");
    const QString& path = scratch.Write(data, size);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QString error;
    if (auto reader = store::StoreReader::Open(path, &error)) {
        Read(*reader);
        reader->Refresh();  // as a follower does
        Read(*reader);
    }
    if (auto writer = store::StoreWriter::Resume(path, &error)) {
        store::StoredReading reading;
        reading.TimeMs = writer->LastTimeMs().value_or(writer->Header().StartMs) + 1000;
        writer->Append(reading);
        writer->Finish(reading.TimeMs);
    }
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    return 0;
}
