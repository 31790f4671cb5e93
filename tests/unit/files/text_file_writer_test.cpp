// SPDX-License-Identifier: MIT
// Writing a chart's points as a text file: the bytes, the range, the stop at X = 0, Cancel, and
// failures that must leave an earlier file alone.
#include "core/files/text_file_writer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/chart/chart_data.h"
#include "core/data/limit_values.h"
#include "core/files/text_fields.h"
#include "file_test_support.h"

namespace kr820::core {
namespace {

using testing::FileSizeLimit;
using testing::ReadWhole;
using testing::WriteWhole;

// Functions rather than globals: nothing of Qt runs before the test program's main.
RegionalFormats American() {
    return RegionalFormats::FromLocale(QLocale("en_US"), QDate(2026, 6, 15));
}
TDateTime Start() { return WallClockDateTime(QDate(2026, 3, 15), QTime(14, 3, 4)); }

// `filled` points one second apart from Start(), then empty points (X = 0) up to `points`.
ChartData Chart(const std::vector<std::pair<float, float>>& filled, int points) {
    ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(points);
    for (int p = 0; p < int(filled.size()); ++p) {
        chart.SetXDataII(0, p, Start() + p * kOneSecond);
        chart.SetXDataII(1, p, Start() + p * kOneSecond);
        chart.SetYData(0, p, filled[p].first);
        chart.SetYData(1, p, filled[p].second);
    }
    return chart;
}

class TextFileWriter : public testing::ScratchFolder {};

TEST_F(TextFileWriter, WritesOneCrLfLinePerPointUpToTheFirstEmptyPoint) {
    const ChartData chart =
        Chart({{23.5f, -10.0f}, {3000.0f, 3000.1f}, {UnderLimitValue, 9.0f}}, 6);
    const QString path = PathOf("points.csv");

    const TextWriteOutcome outcome =
        WriteTextFile(chart, path, TextSeparator::Comma, AllPoints(6), American());

    EXPECT_TRUE(outcome.File.Written());
    EXPECT_EQ(outcome.Lines, 3);
    EXPECT_FALSE(outcome.Cancelled);
    EXPECT_EQ(ReadWhole(path),
              "3/15/26,2:03:04 PM,23.5,-10.0\r\n"
              "3/15/26,2:03:05 PM,3000.0,OL\r\n"
              "3/15/26,2:03:06 PM,OL,9.0\r\n");
}

TEST_F(TextFileWriter, WritesOnlyTheRangeWithTabsAndTheLocalesDecimalSeparator) {
    const ChartData chart = Chart({{1.0f, 2.0f}, {3.0f, 4.0f}, {5.0f, 6.0f}, {7.0f, 8.0f}}, 4);
    const RegionalFormats german =
        RegionalFormats::FromLocale(QLocale("de_DE"), QDate(2026, 6, 15));
    const QString path = PathOf("range.txt");

    const auto range = SelectedPoints("3", "2", chart.Points());
    ASSERT_TRUE(range);
    EXPECT_EQ(WriteTextFile(chart, path, TextSeparator::Tab, *range, german).Lines, 2);
    EXPECT_EQ(ReadWhole(path),
              "15.03.26\t14:03:05\t3,0\t4,0\r\n"
              "15.03.26\t14:03:06\t5,0\t6,0\r\n");
}

TEST_F(TextFileWriter, AnEmptyRangeOrAnEmptyChartWritesAnEmptyFile) {
    const QString path = PathOf("empty.txt");
    WriteWhole(path, "earlier");
    const TextWriteOutcome outcome =
        WriteTextFile(Chart({}, 100), path, TextSeparator::Tab, AllPoints(100), American());
    EXPECT_TRUE(outcome.File.Written());
    EXPECT_EQ(outcome.Lines, 0);
    EXPECT_EQ(ReadWhole(path), "");
}

TEST_F(TextFileWriter, CancelKeepsTheLinesWrittenSoFar) {
    const ChartData chart = Chart({{1.0f, 2.0f}, {3.0f, 4.0f}, {5.0f, 6.0f}, {7.0f, 8.0f}}, 5);
    const QString path = PathOf("cancelled.txt");
    std::vector<std::pair<qsizetype, qsizetype>> heard;

    const TextWriteOutcome outcome =
        WriteTextFile(chart, path, TextSeparator::Tab, AllPoints(5), American(),
                      [&](qsizetype done, qsizetype total) {
                          heard.emplace_back(done, total);
                          return done < 2;
                      });

    EXPECT_TRUE(outcome.File.Written());
    EXPECT_TRUE(outcome.Cancelled);
    EXPECT_EQ(outcome.Lines, 2);
    EXPECT_EQ(heard, (std::vector<std::pair<qsizetype, qsizetype>>{{1, 5}, {2, 5}}));
    EXPECT_EQ(ReadWhole(path).count("\r\n"), 2);
}

TEST_F(TextFileWriter, AFileThatCannotBeCreatedIsReportedAndNothingAppears) {
    const QString path = PathOf("missing folder/points.txt");
    const TextWriteOutcome outcome =
        WriteTextFile(Chart({{1.0f, 2.0f}}, 1), path, TextSeparator::Tab, AllPoints(1), American());
    EXPECT_EQ(outcome.File.Status, WriteStatus::CannotCreate);
    EXPECT_FALSE(outcome.File.Reason.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(TextFileWriter, AWriteThatFailsHalfwayLeavesTheEarlierFileWhole) {
    const QString path = PathOf("points.txt");
    WriteWhole(path, "earlier content\r\n");
    std::vector<std::pair<float, float>> many(5000, {21.5f, 22.5f});
    const ChartData chart = Chart(many, 5000);

    TextWriteOutcome outcome;
    {
        const FileSizeLimit limit(16 * 1024);
        outcome = WriteTextFile(chart, path, TextSeparator::Tab, AllPoints(5000), American());
    }
    EXPECT_EQ(outcome.File.Status, WriteStatus::WriteFailed);
    EXPECT_EQ(ReadWhole(path), "earlier content\r\n");
    EXPECT_EQ(Entries(), QStringList{"points.txt"});
}

}  // namespace
}  // namespace kr820::core
