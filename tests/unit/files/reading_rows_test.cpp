// SPDX-License-Identifier: MIT
// Rows for scripts and spreadsheets: times with their offset, a decimal point, missing values left
// out the way each format leaves them out, and fields that cannot break a line.
#include "core/files/reading_rows.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include "core/chart/chart_data.h"
#include "core/data/limit_values.h"
#include "core/files/export_rows.h"

namespace kr820::core {
namespace {

const TDateTime kNoon = ToTDateTime(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 5)));
const qint64 kNoonInstant = QDateTime(QDate(2026, 12, 7), QTime(12, 0, 5)).toSecsSinceEpoch();

QString OffsetOf(const QDateTime& local) {
    const int minutes = local.offsetFromUtc() / 60;
    return QStringLiteral("%1%2:%3")
        .arg(minutes < 0 ? '-' : '+')
        .arg(std::abs(minutes) / 60, 2, 10, QLatin1Char('0'))
        .arg(std::abs(minutes) % 60, 2, 10, QLatin1Char('0'));
}

TEST(ReadingRows, IsoTimesCarryTheLocalOffsetAndRoundTrip) {
    for (const QDate day : {QDate(2026, 1, 15), QDate(2026, 7, 15)}) {
        const QDateTime local(day, QTime(21, 53, 8));
        const QString text = IsoLocalTime(local);
        EXPECT_EQ(text, day.toString("yyyy-MM-dd") + "T21:53:08" + OffsetOf(local));
        EXPECT_EQ(QDateTime::fromString(text, Qt::ISODate).toMSecsSinceEpoch(),
                  local.toMSecsSinceEpoch());
    }
    EXPECT_TRUE(IsoLocalTime(QDateTime()).isEmpty());
    EXPECT_TRUE(IsoLocalTime(kLastShownDay + 10).isEmpty());
}

TEST(ReadingRows, NumbersAndMarkers) {
    EXPECT_EQ(DecimalText(-5.0), "-5.0");
    EXPECT_EQ(DecimalText(1234.56), "1234.6");  // no group separator
    EXPECT_EQ(DecimalText(-0.04), "0.0");       // no negative zero
    EXPECT_EQ(ShownValue(25.3f).value_or(0), 25.3f);
    EXPECT_FALSE(ShownValue(OverLimitValue));
    EXPECT_FALSE(ShownValue(UnderLimitValue));
}

TEST(ReadingRows, EachFormatLeavesAMissingValueOutItsOwnWay) {
    const ReadingRow row{kNoonInstant, 25.3, std::nullopt, "C", 2};
    const QString time = IsoLocalTime(kNoon);
    RowLayout csv{RowFormat::Csv, true, {}};
    EXPECT_EQ(HeaderLine(csv), "set,time,utc_offset,t1,t2,unit\r\n");
    // Spreadsheets take the time as a date only without its offset: it has a column of its own.
    const QString split = time.left(19) + "," + time.mid(19);
    EXPECT_EQ(RowLine(row, csv), ("2," + split + ",25.3,,C\r\n").toLatin1());
    RowLayout tsv{RowFormat::Tsv, false, {}};
    EXPECT_EQ(RowLine(row, tsv),
              (time.left(19) + "\t" + time.mid(19) + "\t25.3\t\tC\n").toLatin1());
    RowLayout json{RowFormat::JsonLines, false, {}};
    EXPECT_TRUE(HeaderLine(json).isEmpty());
    EXPECT_EQ(RowLine(row, json),
              ("{\"time\":\"" + time + "\",\"t1\":25.3,\"t2\":null,\"unit\":\"C\"}\n").toLatin1());
    RowLayout influx{RowFormat::Influx, false, "/dev/tty USB,0"};
    const qint64 ns = FromTDateTime(kNoon).toMSecsSinceEpoch() * 1'000'000;
    EXPECT_EQ(RowLine(row, influx),
              "kr820,device=/dev/tty\\ USB\\,0,unit=C t1=25.3 " + QByteArray::number(ns) + "\n");
    // Neither channel: still a valid point.
    const ReadingRow none{kNoonInstant, std::nullopt, std::nullopt, "C", 0};
    EXPECT_TRUE(RowLine(none, influx).contains(" valid=false "));
}

TEST(ReadingRows, ChartRowsEndAtTheFirstPointWithoutTime) {
    ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(4);
    for (int point = 0; point < 2; ++point) {
        chart.SetXDataII(0, point, kNoon + point * kOneSecond);
        chart.SetXDataII(1, point, kNoon + point * kOneSecond);
        chart.SetYData(0, point, 20.0f + point);
        chart.SetYData(1, point, point == 1 ? OverLimitValue : -1.0f);
    }
    const std::vector<ReadingRow> rows = RowsOfChart(chart, "F");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].T1, 21.0);
    EXPECT_FALSE(rows[1].T2);
    EXPECT_EQ(rows[1].Unit, "F");
    EXPECT_EQ(RowsText(rows, {RowFormat::Csv, false, {}}).count("\r\n"), 3);
}

}  // namespace
}  // namespace kr820::core
