// SPDX-License-Identifier: MIT
// Row times for log pipelines: UTC and Unix seconds from the local time and its offset.
#include "core/files/row_time_format.h"

#include <gtest/gtest.h>

#include "core/files/reading_rows.h"

namespace kr820::core {
namespace {

TEST(RowTimeFormat, LocalTimesAsUtcAndUnixSeconds) {
    struct Case {
        const char* iso;
        const char* utc;
        const char* epoch;
    };
    const Case cases[] = {
        {"2026-12-07T21:53:08+01:00", "2026-12-07T20:53:08Z", "1796676788"},
        // Across midnight, the month and the year, both ways.
        {"2027-01-01T00:30:00+01:00", "2026-12-31T23:30:00Z", "1798759800"},
        {"2026-02-28T22:00:00-05:30", "2026-03-01T03:30:00Z", "1772335800"},
        {"2024-02-29T12:00:00+00:00", "2024-02-29T12:00:00Z", "1709208000"},
        {"1970-01-01T00:59:59+01:00", "1969-12-31T23:59:59Z", "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.iso);
        EXPECT_EQ(TimeInFormat(c.iso, TimeFormat::Iso), c.iso);
        EXPECT_EQ(TimeInFormat(c.iso, TimeFormat::Utc), c.utc);
        EXPECT_EQ(TimeInFormat(c.iso, TimeFormat::Epoch), c.epoch);
    }
    EXPECT_TRUE(TimeInFormat("2026-12-07T21:53:08", TimeFormat::Utc).isEmpty());
    EXPECT_TRUE(TimeInFormat("2026-12-07T21:53:08+01:0x", TimeFormat::Epoch).isEmpty());
}

TEST(RowTimeFormat, RowsWithoutTheOffsetColumnOutsideLocalTimes) {
    RowLayout layout{RowFormat::Csv, true, {}, TimeFormat::Utc};
    EXPECT_EQ(HeaderLine(layout), "set,time,t1,t2,unit\r\n");
    layout.Format = RowFormat::Tsv;
    layout.Times = TimeFormat::Epoch;
    EXPECT_EQ(HeaderLine(layout), "set\ttime\tt1\tt2\tunit\n");
    layout.Times = TimeFormat::Iso;
    EXPECT_EQ(HeaderLine(layout), "set\ttime\tutc_offset\tt1\tt2\tunit\n");

    ReadingRow row;
    row.Time = ToTDateTime(QDateTime(QDate(2026, 12, 7), QTime(21, 53, 8)));
    row.T1 = 25.3;
    row.Unit = QStringLiteral("C");
    const RowLayout epoch{RowFormat::JsonLines, false, {}, TimeFormat::Epoch};
    const QByteArray line = RowLine(row, epoch);
    EXPECT_TRUE(line.startsWith("{\"time\":1796")) << line.toStdString();  // a number, unquoted
    const QByteArray utc = RowLine(row, {RowFormat::Csv, false, {}, TimeFormat::Utc});
    EXPECT_TRUE(utc.contains("Z,25.3,,C\r\n")) << utc.toStdString();
}

}  // namespace
}  // namespace kr820::core
