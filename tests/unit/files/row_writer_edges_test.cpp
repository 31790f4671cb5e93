// SPDX-License-Identifier: MIT
// What every row writer does with values that are no number and with the last moment of the date
// range: no "nan" or "inf" in any format, and no year 10000. CSV and TSV lines, written field by
// field into one buffer, against the texts each field has on its own.
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

// A CSV or TSV line as its fields' own texts make it.
QByteArray LineOfFields(const ReadingRow& row, const RowLayout& layout) {
    const char separator = layout.Format == RowFormat::Csv ? ',' : '\t';
    const auto text = [&](const QString& field) {
        return layout.Format == RowFormat::Csv ? CsvField(field) : field.toUtf8();
    };
    const auto value = [](const std::optional<double>& v) {
        return v ? DecimalText(*v).toLatin1() : QByteArray();
    };
    const QByteArray iso = IsoTimeAt(row.Time).toLatin1();
    QByteArray line;
    if (layout.WithSet) line += QByteArray::number(row.Set) + separator;
    if (layout.Times == TimeFormat::Iso)
        line += iso.left(19) + separator + iso.mid(19);
    else
        line += TimeInFormat(iso, layout.Times);
    line += separator + value(row.T1) + separator + value(row.T2) + separator + text(row.Unit);
    if (layout.WithAlarm) line += separator + text(row.Alarm);
    return line + (layout.Format == RowFormat::Csv ? "\r\n" : "\n");
}

TEST(RowWriterEdges, CsvAndTsvLinesAreTheirFieldsTexts) {
    const qint64 instant = QDateTime(QDate(2026, 7, 1), QTime(8, 5, 9)).toSecsSinceEpoch();
    const QString units[] = {
        "C",         "",          QString::fromUtf8("\u00b0C"), "a,b", "say \"hi\"",
        "tab\there", "line\nend", "a unit longer than sixteen"};
    const std::optional<double> values[] = {25.3, std::nullopt, -0.04, -2999.95, 1e20, -1e300};
    int checked = 0;
    for (const RowFormat format : {RowFormat::Csv, RowFormat::Tsv}) {
        for (const TimeFormat times : {TimeFormat::Iso, TimeFormat::Utc, TimeFormat::Epoch}) {
            for (const bool withSet : {false, true}) {
                for (const bool withAlarm : {false, true}) {
                    const RowLayout layout{format, withSet, {}, times, withAlarm};
                    for (const QString& unit : units) {
                        for (const auto& value : values) {
                            const ReadingRow row{instant, value, 21.5, unit, 12345, unit};
                            ASSERT_EQ(RowLine(row, layout), LineOfFields(row, layout))
                                << unit.toStdString() << ' ' << value.value_or(0);
                            ++checked;
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(checked, 2 * 3 * 2 * 2 * 8 * 6);
}

}  // namespace
}  // namespace kr820::core
