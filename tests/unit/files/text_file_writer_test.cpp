// SPDX-License-Identifier: MIT
// Writing a chart's points as a text file: the bytes, the range, the stop at X = 0, Cancel, and
// failures that leave an earlier file alone.
#include "core/files/text_file_writer.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/chart/chart_data.h"
#include "core/data/limit_values.h"
#include "core/files/text_fields.h"
#include "file_test_support.h"

namespace kr820::core {
namespace {

using testing::ReadWhole;

// Functions rather than globals: no Qt code runs before the test program's main.
RegionalFormats Formats(const char* locale) {
    return RegionalFormats::FromLocale(QLocale(locale), QDate(2026, 6, 15));
}

// T1/T2 pairs one second apart from 15 March 2026 14:03:04, then empty points up to `points`.
ChartData Chart(const std::vector<std::pair<float, float>>& filled, int points) {
    ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(points);
    const TDateTime start = WallClockDateTime(QDate(2026, 3, 15), QTime(14, 3, 4));
    for (int p = 0; p < int(filled.size()); ++p) {
        chart.SetXDataII(0, p, start + p * kOneSecond);
        chart.SetYData(0, p, filled[p].first);
        chart.SetYData(1, p, filled[p].second);
    }
    return chart;
}

class TextFileWriter : public testing::ScratchFolder {};

TEST_F(TextFileWriter, WritesCrLfLinesUpToTheFirstEmptyPointWithOLBeyondTheLimits) {
    const ChartData chart =
        Chart({{23.5f, -10.0f}, {3000.0f, 3000.1f}, {UnderLimitValue, 9.0f}}, 6);
    const TextWriteOutcome outcome =
        WriteTextFile(chart, PathOf("a.csv"), TextSeparator::Comma, AllPoints(6), Formats("en_US"));
    EXPECT_TRUE(outcome.File.Written());
    EXPECT_EQ(outcome.Lines, 3);
    EXPECT_EQ(ReadWhole(PathOf("a.csv")),
              "3/15/26,2:03:04 PM,23.5,-10.0\r\n"
              "3/15/26,2:03:05 PM,3000.0,OL\r\n"
              "3/15/26,2:03:06 PM,OL,9.0\r\n");
}

TEST_F(TextFileWriter, WritesTheSelectedRangeAndStopsAtCancel) {
    const ChartData chart = Chart({{1.0f, 2.0f}, {3.0f, 4.0f}, {5.0f, 6.0f}, {7.0f, 8.0f}}, 4);
    const auto range = SelectedPoints("3", "-2", chart.Points());
    ASSERT_TRUE(range);
    WriteTextFile(chart, PathOf("a.txt"), TextSeparator::Tab, *range, Formats("de_DE"));
    EXPECT_EQ(ReadWhole(PathOf("a.txt")),
              "15.03.26\t14:03:05\t3,0\t4,0\r\n"
              "15.03.26\t14:03:06\t5,0\t6,0\r\n");

    std::vector<qsizetype> heard;
    const TextWriteOutcome cancelled =
        WriteTextFile(chart, PathOf("b.txt"), TextSeparator::Tab, AllPoints(4), Formats("de_DE"),
                      [&](qsizetype done, qsizetype total) {
                          heard.push_back(done * 10 + total);
                          return done < 2;
                      });
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_EQ(heard, (std::vector<qsizetype>{14, 24}));
    EXPECT_EQ(ReadWhole(PathOf("b.txt")).count("\r\n"), 2);
}

TEST_F(TextFileWriter, FailuresAreReportedAndLeaveTheEarlierFileWhole) {
    const ChartData chart = Chart(std::vector<std::pair<float, float>>(5000, {21.5f, 22.5f}), 5000);
    const auto write = [&](const QString& path) {
        return WriteTextFile(chart, path, TextSeparator::Tab, AllPoints(5000), Formats("en_US"));
    };
    EXPECT_EQ(write(PathOf("no folder/a.txt")).File.Status, WriteStatus::CannotCreate);

    testing::WriteWhole(PathOf("a.txt"), "earlier\r\n");
    TextWriteOutcome outcome;
    {
        const testing::FileSizeLimit limit(16 * 1024);
        outcome = write(PathOf("a.txt"));
    }
    EXPECT_EQ(outcome.File.Status, WriteStatus::WriteFailed);
    EXPECT_EQ(ReadWhole(PathOf("a.txt")), "earlier\r\n");
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList{"a.txt"});
}

}  // namespace
}  // namespace kr820::core
