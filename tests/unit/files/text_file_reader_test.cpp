// SPDX-License-Identifier: MIT
// Reading text files: sizing, which lines fill points, where the data end, and the round trip
// through a written file under two regional settings.
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

RegionalFormats Formats(const char* locale) {
    return RegionalFormats::FromLocale(QLocale(locale), QDate(2026, 6, 15));
}
TDateTime At(int s) { return WallClockDateTime(QDate(2026, 3, 15), QTime(10, 0, s)); }
QByteArray Line(int s, const char* values = "\t20,0\t21,0") {
    return "15.03.26\t10:00:0" + QByteArray::number(s) + values + "\r\n";
}

class TextFileReader : public testing::ScratchFolder {
protected:
    TextReadOutcome Read(const QByteArray& text, const ProgressCallback& progress = {}) {
        testing::WriteWhole(PathOf("in.txt"), text);
        return ReadTextFile(PathOf("in.txt"), TextSeparator::Tab, Formats("de_DE"), progress);
    }
};

TEST_F(TextFileReader, SizesFromTheLinesAndFirstTwoTimesAndReadsBadValuesAsOL) {
    const TextReadOutcome outcome = Read(Line(0, "\tOL\t-3,5") + Line(2, "\tnonsense\t1,0") +
                                         "15.03.26\t10:00:04\t2,0\t3,0\n" + Line(6) + Line(8));
    const TextFileContent& content = outcome.Content;
    EXPECT_EQ(outcome.Status, TextReadStatus::Read);
    EXPECT_EQ(content.Points, 5);
    EXPECT_EQ(content.MinX, At(0));
    EXPECT_DOUBLE_EQ(content.MaxX, At(10));
    EXPECT_EQ(content.X, (std::vector{At(0), At(2), At(4), At(6), At(8)}));
    EXPECT_EQ(content.T1, (std::vector{OverLimitValue, OverLimitValue, 2.0f, 20.0f, 20.0f}));
    EXPECT_EQ(content.T2, (std::vector{-3.5f, 1.0f, 3.0f, 21.0f, 21.0f}));

    EXPECT_EQ(ReadTextFile(PathOf("absent"), TextSeparator::Tab, Formats("de_DE")).Status,
              TextReadStatus::CannotOpen);
}

TEST_F(TextFileReader, TwoLinesMakeFourPointsAndTheOthersKeepWhatThePreparationGave) {
    const TextReadOutcome outcome = Read(Line(0) + Line(1));
    EXPECT_EQ(outcome.Content.Points, 4);

    ChartData chart;  // as the graph window prepares it: X = 0, Y the null value
    chart.SetSubsets(2);
    chart.SetPoints(outcome.Content.Points);
    chart.SetYData(ChartData::kAll, ChartData::kAll, OverLimitValue);
    LayTextFileOntoChart(outcome.Content, chart);
    const std::vector<TDateTime> x = {At(0), At(1), 0.0, 0.0};
    EXPECT_EQ(std::vector(chart.X(1).begin(), chart.X(1).end()), x);
    EXPECT_EQ(std::vector(chart.Y(0).begin(), chart.Y(0).end()),
              (std::vector{20.0f, 20.0f, OverLimitValue, OverLimitValue}));
}

TEST_F(TextFileReader, ALineWithoutBothValuesFillsNoPointButSetsTheNextOnesTime) {
    const TextFileContent content =
        Read(Line(0) + Line(1, "\t99,0") + "no separators\r\n" + "bad\tdate\t22,0\t23,0\r\n" +
             Line(3, "\t99,0") + Line(4, "\t24,0\t25,0"))
            .Content;
    EXPECT_EQ(content.Points, 6);
    EXPECT_EQ(content.X, (std::vector{At(0), At(1), At(4)}));
    EXPECT_EQ(content.T1, (std::vector{20.0f, 22.0f, 24.0f}));
}

TEST_F(TextFileReader, AnEmptyOrOverLongLineEndsTheDataInBothPasses) {
    // T2 padded with blanks, which reading trims, to the longest line allowed.
    const QByteArray longest = "15.03.26\t10:00:00\t20,0\t" + QByteArray(152, ' ') + "21,0";
    ASSERT_EQ(longest.size(), kMaxTextLineChars);
    EXPECT_EQ(Read(Line(0) + longest + "\n" + Line(1)).Content.T1.size(), 3u);

    const TextReadOutcome overLong = Read(Line(0) + Line(1) + longest + " \n" + Line(2) + Line(3));
    EXPECT_EQ(overLong.Content.Points, 4);
    EXPECT_EQ(overLong.Content.T1.size(), 2u);
    EXPECT_EQ(Read(Line(0) + "\r\n" + Line(1) + Line(2)).Content.T1.size(), 1u);
    EXPECT_EQ(Read(Line(0) + QByteArray(100000, 'x')).Content.T1.size(), 1u);
}

TEST_F(TextFileReader, GivesNoXRangeUnlessTheFirstTwoTimesRiseAndStopsAtCancel) {
    EXPECT_EQ(Read(Line(5)).Content.MaxX, 0);
    EXPECT_EQ(Read(Line(5) + Line(4)).Content.MaxX, 0);
    EXPECT_EQ(Read("junk\r\n" + Line(5) + Line(6)).Content.MinX, 0);

    const TextReadOutcome cancelled =
        Read(Line(0) + Line(1) + Line(2) + Line(3) + Line(4),
             [](qsizetype done, qsizetype total) { return total == 5 && done < 2; });
    EXPECT_EQ(cancelled.Status, TextReadStatus::Cancelled);
    EXPECT_EQ(cancelled.Content.T1.size(), 2u);
}

// en_US: decimal point, month-first date, AM/PM. de_DE: decimal comma, day-first date, 24 hours.
// Both write two-digit years.
class TextFileRoundTrip : public testing::ScratchFolder,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(TextFileRoundTrip, GivesBackThePointsWithLimitMarkersAsOverLimit) {
    const RegionalFormats formats = Formats(GetParam());
    const auto separator = formats.OffersCsv() ? TextSeparator::Comma : TextSeparator::Tab;
    const std::vector<TDateTime> x = {WallClockDateTime(QDate(2000, 2, 29), QTime(23, 59, 59)),
                                      WallClockDateTime(QDate(2026, 3, 15), QTime(12, 0, 1)),
                                      WallClockDateTime(QDate(2075, 12, 31), QTime(0, 0, 0))};
    const std::vector<float> t1 = {23.5f, -200.0f, UnderLimitValue};
    const std::vector<float> t2 = {0.1f, OverLimitValue, 2999.9f};
    ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(5);
    for (int p = 0; p < 3; ++p) {
        chart.SetXDataII(0, p, x[p]);
        chart.SetYData(0, p, t1[p]);
        chart.SetYData(1, p, t2[p]);
    }
    ASSERT_TRUE(WriteTextFile(chart, PathOf("f"), separator, AllPoints(5), formats).File.Written());

    const TextFileContent content = ReadTextFile(PathOf("f"), separator, formats).Content;
    EXPECT_EQ(content.X, x);
    EXPECT_EQ(content.T1, (std::vector{23.5f, -200.0f, OverLimitValue}));
    EXPECT_EQ(content.T2, t2);
}

// sv_SE shows negative numbers with U+2212; the files hold "-" all the same.
INSTANTIATE_TEST_SUITE_P(Locales, TextFileRoundTrip, ::testing::Values("en_US", "de_DE", "sv_SE"));

TEST_F(TextFileReader, MinusSignsAreHyphensInFilesAndBothAreRead) {
    const RegionalFormats swedish = Formats("sv_SE");
    ASSERT_EQ(swedish.Locale.negativeSign(), QString(QChar(0x2212)));
    EXPECT_EQ(ValueText(-10.0f, swedish), "-10,0");
    EXPECT_EQ(ReadValue(QString::fromUtf8("\u221210,0"), swedish), -10.0f);
    EXPECT_EQ(ReadValue(u"-10.0", Formats("en_US")), -10.0f);
    EXPECT_EQ(ReadValue(QString::fromUtf8("\u221210.0"), Formats("en_US")), -10.0f);
}

}  // namespace
}  // namespace kr820::core
