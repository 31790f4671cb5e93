// SPDX-License-Identifier: MIT
#include "store/store_exports.h"

#include <QIODevice>

#include "core/data/limit_values.h"
#include "core/files/save_file.h"
#include "store/store_reader.h"
#include "store/store_report.h"
#include "store/wall_clock.h"

namespace kr820::store {
namespace {

// Written in chunks: the file is unbuffered so that no write goes unchecked.
constexpr qsizetype kWriteChunkBytes = 64 * 1024;

float ShownValue(const std::optional<double>& value) {
    return value ? static_cast<float>(*value) : core::OverLimitValue;
}

// Visits readings [first, end), writing what `line` appends in chunks; false when a write or a
// block failed. `lines` counts the readings taken.
bool WriteReadings(StoreReader& reader, QIODevice& file, qint64 first, qint64 end,
                   QByteArray pending, qsizetype& lines, bool& cancelled,
                   const core::ProgressCallback& progress,
                   const std::function<void(const StoredReading&, QByteArray&)>& line) {
    const qsizetype total = qsizetype(std::max<qint64>(end - first, 0));
    bool written = true;
    const bool read = reader.ForEach(first, end, [&](qint64, const StoredReading& r) {
        line(r, pending);
        if (pending.size() >= kWriteChunkBytes) {
            if (!core::WriteAll(file, pending)) return written = false;
            pending.clear();
        }
        ++lines;
        if (progress && !progress(lines, total)) {
            cancelled = true;
            return false;
        }
        return true;
    });
    return read && written && core::WriteAll(file, pending);
}

}  // namespace

core::ReadingRow RowOfStoredReading(const StoredReading& reading) {
    core::ReadingRow row;
    row.Time = core::UtcSeconds(reading.TimeMs >= 0 ? reading.TimeMs / 1000
                                                    : -((-reading.TimeMs + 999) / 1000));
    if (reading.T1Valid) row.T1 = reading.T1;
    if (reading.T2Valid) row.T2 = reading.T2;
    row.Unit = reading.Fahrenheit ? QStringLiteral("F") : QStringLiteral("C");
    row.Set = 1;
    return row;
}

core::TextWriteOutcome WriteStoreTextFile(StoreReader& reader, const QString& path,
                                          core::TextSeparator separator, qint64 first, qint64 end,
                                          const core::RegionalFormats& formats,
                                          const core::ProgressCallback& progress) {
    core::TextWriteOutcome outcome;
    outcome.File = core::WriteThroughSaveFile(path, [&](QIODevice& file) {
        core::TextLineWriter lines(separator, formats);
        return WriteReadings(reader, file, first, end, {}, outcome.Lines, outcome.Cancelled,
                             progress, [&](const StoredReading& r, QByteArray& out) {
                                 const core::ReadingRow row = RowOfStoredReading(r);
                                 lines.Append(WallClockOfMs(r.TimeMs), ShownValue(row.T1),
                                              ShownValue(row.T2), out);
                             });
    });
    if (!outcome.File.Written() && outcome.File.Reason.isEmpty() && !reader.Failure().isEmpty())
        outcome.File.Reason = reader.Failure();
    return outcome;
}

core::WriteOutcome WriteStoreRows(StoreReader& reader, const QString& path,
                                  const core::RowLayout& layout,
                                  const core::ProgressCallback& progress) {
    qsizetype lines = 0;
    bool cancelled = false;
    return core::WriteThroughSaveFile(path, [&](QIODevice& file) {
        return WriteReadings(reader, file, 0, reader.Count(), core::HeaderLine(layout), lines,
                             cancelled, progress, [&](const StoredReading& r, QByteArray& out) {
                                 out += core::RowLine(RowOfStoredReading(r), layout);
                             });
    });
}

}  // namespace kr820::store
