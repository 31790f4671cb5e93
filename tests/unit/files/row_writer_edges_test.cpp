// SPDX-License-Identifier: MIT
// What every row writer does with values that are no number and with the last moment of the date
// range: no "nan" or "inf" in any format, and no year 10000.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "core/chart/chart_data.h"
#include "core/chart/chart_model.h"
#include "core/files/export_rows.h"
#include "core/files/graph_file.h"
#include "core/files/reading_rows.h"

namespace kr820::core {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
// 31 December 9999, 23:59:59.9: rounds to the next second, which has no four-digit year.
constexpr TDateTime kLastMoment = 2958465.999999;
const TDateTime kMarch = ToTDateTime(QDateTime(QDate(2026, 3, 14), QTime(9, 30, 0)));

ChartData TwoPoints(TDateTime x0, TDateTime x1, float y00, float y01, float y10, float y11) {
    ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(2);
    for (int subset = 0; subset < 2; ++subset) {
        chart.SetXDataII(subset, 0, x0);
        chart.SetXDataII(subset, 1, x1);
    }
    chart.SetYData(0, 0, y00);
    chart.SetYData(1, 0, y01);
    chart.SetYData(0, 1, y10);
    chart.SetYData(1, 1, y11);
    return chart;
}

const RowLayout kLayouts[] = {{RowFormat::Csv, true, {}},
                              {RowFormat::Tsv, false, {}},
                              {RowFormat::JsonLines, true, {}},
                              {RowFormat::Influx, true, "/dev/ttyUSB0"}};

TEST(RowWriterEdges, NoFormatWritesNaNOrInfinity) {
    const std::vector<ReadingRow> rows =
        RowsOfChart(TwoPoints(kMarch, kMarch + kOneSecond, kNaN, kInf, -kInf, 20.5f), "C");
    ASSERT_EQ(rows.size(), 2u);
    // Rows from elsewhere (a reading, a file) may carry them as well.
    std::vector<ReadingRow> all = rows;
    all.push_back({});
    all.back().Time = rows[0].Time + 2;
    all.back().T1 = std::numeric_limits<double>::quiet_NaN();
    all.back().T2 = -std::numeric_limits<double>::infinity();
    for (const RowLayout& layout : kLayouts) {
        SCOPED_TRACE(static_cast<int>(layout.Format));
        for (const ReadingRow& row : all) {
            const QByteArray line = RowLine(row, layout).toLower();
            EXPECT_FALSE(line.contains("nan") || line.contains("inf")) << line.toStdString();
            if (layout.Format == RowFormat::JsonLines) {
                QJsonParseError error;
                const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
                EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
                EXPECT_TRUE(object.value("t1").isNull());
            }
        }
    }
    EXPECT_TRUE(RowLine(all[0], kLayouts[0]).contains(",,,C\r\n"));  // both values empty
    EXPECT_TRUE(RowLine(all[1], kLayouts[0]).contains(",,20.5,C\r\n"));
    EXPECT_TRUE(RowLine(all[0], kLayouts[3]).contains(",unit=C set=0i "));  // no t1, no t2
}

TEST(RowWriterEdges, TheLastMomentStaysInTheYear9999) {
    const std::vector<ReadingRow> rows =
        RowsOfChart(TwoPoints(kLastShownDay + 0.5, kLastMoment, 1.0f, 2.0f, 3.0f, 4.0f), "C");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(RowLine(rows[1], kLayouts[0]).startsWith("0,9999-12-31T23:59:59,"))
        << RowLine(rows[1], kLayouts[0]).toStdString();
    EXPECT_TRUE(RowLine(rows[1], kLayouts[1]).startsWith("9999-12-31T23:59:59\t"));
    EXPECT_TRUE(RowLine(rows[1], kLayouts[2]).contains("\"time\":\"9999-12-31T23:59:59"));
    EXPECT_GT(rows[1].Time, rows[0].Time);
    // InfluxDB's times end in 2262: such a row is left out rather than given a wrong time.
    EXPECT_TRUE(RowLine(rows[1], kLayouts[3]).isEmpty());
    EXPECT_EQ(FromTDateTime(kLastMoment), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
}

TEST(RowWriterEdges, ARateAcrossTheWholeRangeDoesNotWrap) {
    ChartModel chart;
    chart.Data() = TwoPoints(1000.0, kLastMoment, 1.0f, 2.0f, 3.0f, 4.0f);
    QTemporaryDir folder;
    const QString path = folder.filePath("wide.ghf");
    ASSERT_TRUE(WriteGraphFile(chart, path).Written());
    const ExportOpenOutcome opened = OpenForExport(path, RegionalFormats::FromLocale());
    ASSERT_EQ(opened.Sets.size(), 1u);
    const double seconds = (kLastMoment - 1000.0) * kSecondsPerDay;
    EXPECT_NEAR(static_cast<double>(opened.Sets[0].RateSeconds), seconds, 2 * 3600.0);
}

TEST(RowWriterEdges, AGraphFileWithValuesThatAreNoNumberIsRefused) {
    for (const float bad : {kNaN, kInf, -kInf}) {
        ChartModel chart;
        chart.Data() = TwoPoints(kMarch, kMarch + kOneSecond, 20.0f, 21.0f, bad, 22.0f);
        QTemporaryDir folder;
        const QString path = folder.filePath("bad.ghf");
        ASSERT_TRUE(WriteGraphFile(chart, path).Written());
        ChartModel read;
        EXPECT_NE(ReadGraphFile(path, read).Status, GraphReadStatus::Loaded);
        EXPECT_NE(OpenForExport(path, RegionalFormats::FromLocale()).Status,
                  ExportOpenStatus::Opened);
    }
}

}  // namespace
}  // namespace kr820::core
