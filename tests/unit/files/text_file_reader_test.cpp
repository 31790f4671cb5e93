// SPDX-License-Identifier: MIT
// Reading text files: sizing, the lines that fill points and those that do not, where the data
// end, and the round trip through a written file under two regional settings.
#include "core/files/text_file_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/chart/chart_data.h"
#include "core/data/limit_values.h"
#include "core/files/text_fields.h"
#include "core/files/text_file_writer.h"
#include "file_test_support.h"

namespace kr820::core {
namespace {

using testing::WriteWhole;

RegionalFormats German() {
    return RegionalFormats::FromLocale(QLocale("de_DE"), QDate(2026, 6, 15));
}
TDateTime At(int h, int mi, int s) {
    return WallClockDateTime(QDate(2026, 3, 15), QTime(h, mi, s));
}

class TextFileReader : public testing::ScratchFolder {
protected:
    TextReadOutcome Read(const QByteArray& text, const ProgressCallback& progress = {}) {
        const QString path = PathOf("in.txt");
        WriteWhole(path, text);
        return ReadTextFile(path, TextSeparator::Tab, German(), progress);
    }
};

TEST_F(TextFileReader, SizesTheChartFromTheLineCountAndTheFirstTwoTimes) {
    const TextReadOutcome outcome = Read(
        "15.03.26\t10:00:00\t20,0\t21,0\r\n"
        "15.03.26\t10:00:02\t20,5\t21,5\r\n"
        "15.03.26\t10:00:04\t21,0\t22,0\n"
        "15.03.26\t10:00:06\t21,5\t22,5\r\n"
        "15.03.26\t10:00:08\t22,0\t23,0");

    ASSERT_EQ(outcome.Status, TextReadStatus::Read);
    const TextFileContent& content = outcome.Content;
    EXPECT_EQ(content.Points, 5);
    EXPECT_EQ(content.MinX, At(10, 0, 0));
    EXPECT_DOUBLE_EQ(content.MaxX, At(10, 0, 10));
    EXPECT_EQ(content.X,
              (std::vector{At(10, 0, 0), At(10, 0, 2), At(10, 0, 4), At(10, 0, 6), At(10, 0, 8)}));
    EXPECT_EQ(content.T1, (std::vector{20.0f, 20.5f, 21.0f, 21.5f, 22.0f}));
    EXPECT_EQ(content.T2, (std::vector{21.0f, 21.5f, 22.0f, 22.5f, 23.0f}));
}

TEST_F(TextFileReader, FewLinesStillMakeFourPointsAndTheRestStayEmpty) {
    const TextReadOutcome outcome = Read(
        "15.03.26\t10:00:00\t20,0\tOL\r\n"
        "15.03.26\t10:00:01\tnonsense\t-10,0\r\n");
    const TextFileContent& content = outcome.Content;
    EXPECT_EQ(content.Points, 4);
    EXPECT_EQ(content.T1, (std::vector{20.0f, OverLimitValue}));
    EXPECT_EQ(content.T2, (std::vector{OverLimitValue, -10.0f}));

    // Laid onto a chart as the graph window prepares it: X = 0 and the null value everywhere.
    ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(content.Points);
    chart.SetYData(ChartData::kAll, ChartData::kAll, OverLimitValue);
    LayTextFileOntoChart(content, chart);
    const std::vector<TDateTime> expectedX = {At(10, 0, 0), At(10, 0, 1), 0.0, 0.0};
    EXPECT_EQ(std::vector(chart.X(0).begin(), chart.X(0).end()), expectedX);
    EXPECT_EQ(std::vector(chart.X(1).begin(), chart.X(1).end()), expectedX);
    EXPECT_EQ(std::vector(chart.Y(0).begin(), chart.Y(0).end()),
              (std::vector{20.0f, OverLimitValue, OverLimitValue, OverLimitValue}));
    EXPECT_EQ(chart.YData(1, 1), -10.0f);
}

TEST_F(TextFileReader, ALineWithoutBothValuesFillsNoPointButMaySetTheNextOnesTime) {
    const TextReadOutcome outcome = Read(
        "15.03.26\t10:00:00\t20,0\t21,0\r\n"
        "15.03.26\t10:00:01\t99,0\r\n"        // one value: X of point 1, nothing else
        "no separators at all\r\n"            // skipped
        "bad date\tbad time\t22,0\t23,0\r\n"  // fills point 1, whose X stays 10:00:01
        "15.03.26\t10:00:03\t99,0\r\n"
        "15.03.26\t10:00:04\t24,0\t25,0\r\n");  // its own time replaces 10:00:03

    const TextFileContent& content = outcome.Content;
    EXPECT_EQ(content.Points, 6);
    EXPECT_EQ(content.X, (std::vector{At(10, 0, 0), At(10, 0, 1), At(10, 0, 4)}));
    EXPECT_EQ(content.T1, (std::vector{20.0f, 22.0f, 24.0f}));
    EXPECT_EQ(content.T2, (std::vector{21.0f, 23.0f, 25.0f}));
}

TEST_F(TextFileReader, AnEmptyOrOverLongLineEndsTheDataInBothPasses) {
    const QByteArray good = "15.03.26\t10:00:00\t20,0\t21,0\r\n";
    // Padding before T2, which reading trims: 179 characters are still a line.
    const QByteArray longest = "15.03.26\t10:00:00\t20,0\t" + QByteArray(179 - 27, ' ') + "21,0";
    ASSERT_EQ(longest.size(), kMaxTextLineChars);

    EXPECT_EQ(Read(good + longest + "\r\n" + good).Content.T1.size(), 3u);

    const TextReadOutcome overLong = Read(good + good + longest + " \r\n" + good + good + good);
    EXPECT_EQ(overLong.Content.Points, 4);
    EXPECT_EQ(overLong.Content.T1.size(), 2u);

    const TextReadOutcome blank = Read(good + "\r\n" + good + good + good + good);
    EXPECT_EQ(blank.Content.Points, 4);
    EXPECT_EQ(blank.Content.T1.size(), 1u);

    // A line far longer than any buffer, without a line end anywhere.
    const TextReadOutcome huge = Read(good + QByteArray(100000, 'x'));
    EXPECT_EQ(huge.Content.T1.size(), 1u);
}

TEST_F(TextFileReader, NoXRangeUnlessTheFirstTwoTimesRise) {
    const QByteArray first = "15.03.26\t10:00:05\t20,0\t21,0\r\n";
    EXPECT_EQ(Read(first).Content.MinX, 0);
    EXPECT_EQ(Read(first + first).Content.MaxX, 0);
    EXPECT_EQ(Read(first + "15.03.26\t10:00:04\t20,0\t21,0\r\n").Content.MinX, 0);
    EXPECT_EQ(Read("junk\r\n" + first + first).Content.MinX, 0);
}

TEST_F(TextFileReader, CancelStopsWithThePointsReadSoFar) {
    QByteArray text;
    for (int s = 0; s < 10; ++s)
        text += "15.03.26\t10:00:0" + QByteArray::number(s) + "\t1,0\t2,0\n";
    std::vector<qsizetype> totals;
    const TextReadOutcome outcome = Read(text, [&](qsizetype done, qsizetype total) {
        totals.push_back(total);
        return done < 3;
    });
    EXPECT_EQ(outcome.Status, TextReadStatus::Cancelled);
    EXPECT_EQ(outcome.Content.T1.size(), 3u);
    EXPECT_EQ(totals, (std::vector<qsizetype>{10, 10, 10}));
}

TEST_F(TextFileReader, AMissingFileIsReported) {
    const TextReadOutcome outcome =
        ReadTextFile(PathOf("absent.txt"), TextSeparator::Tab, German());
    EXPECT_EQ(outcome.Status, TextReadStatus::CannotOpen);
    EXPECT_FALSE(outcome.Reason.isEmpty());
    EXPECT_EQ(outcome.Content.Points, 0);
}

// Written and read back under the same settings, a chart comes back point for point, with the
// limit markers as OverLimitValue whichever side they were on.
class TextFileRoundTrip : public testing::ScratchFolder,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(TextFileRoundTrip, GivesBackTheSamePoints) {
    const RegionalFormats formats =
        RegionalFormats::FromLocale(QLocale(GetParam()), QDate(2026, 6, 15));
    const TextSeparator separator = formats.OffersCsv() ? TextSeparator::Comma : TextSeparator::Tab;
    const std::vector<TDateTime> x = {
        WallClockDateTime(QDate(2000, 2, 29), QTime(23, 59, 59)),
        WallClockDateTime(QDate(2026, 3, 15), QTime(0, 0, 0)),
        WallClockDateTime(QDate(2026, 3, 15), QTime(12, 0, 1)),
        WallClockDateTime(QDate(2075, 12, 31), QTime(13, 30, 0)),
    };
    const std::vector<float> t1 = {23.5f, -200.0f, 1370.0f, UnderLimitValue};
    const std::vector<float> t2 = {-10.0f, OverLimitValue, 0.1f, 2999.9f};
    ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(6);  // the last two stay empty
    for (int p = 0; p < 4; ++p) {
        chart.SetXDataII(0, p, x[p]);
        chart.SetYData(0, p, t1[p]);
        chart.SetYData(1, p, t2[p]);
    }
    const QString path = PathOf("round trip");
    ASSERT_TRUE(WriteTextFile(chart, path, separator, AllPoints(6), formats).File.Written());

    const TextReadOutcome outcome = ReadTextFile(path, separator, formats);
    ASSERT_EQ(outcome.Status, TextReadStatus::Read);
    EXPECT_EQ(outcome.Content.Points, 4);
    EXPECT_EQ(outcome.Content.X, x);
    EXPECT_EQ(outcome.Content.T1, (std::vector{23.5f, -200.0f, 1370.0f, OverLimitValue}));
    EXPECT_EQ(outcome.Content.T2, (std::vector{-10.0f, OverLimitValue, 0.1f, 2999.9f}));
}

// A decimal point with a month-first two-digit-year date and AM/PM, and a decimal comma with a
// day-first two-digit-year date and 24 hours.
INSTANTIATE_TEST_SUITE_P(Locales, TextFileRoundTrip, ::testing::Values("en_US", "de_DE"));

}  // namespace
}  // namespace kr820::core
