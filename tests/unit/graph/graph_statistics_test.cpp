// SPDX-License-Identifier: MIT
// The statistics boxes' texts, computed from a chart's points.
#include "core/graph/graph_statistics.h"

#include <gtest/gtest.h>

#include "core/chart/chart_data.h"
#include "core/graph/graph_texts.h"
#include "graph_test_values.h"

namespace kr820::core {
namespace {

using testing::At;

const QLocale kBritish = DisplayLocale(testing::FixedLocale());

GraphStatistics Of(const std::vector<float>& t1, const std::vector<float>& t2, int stepSeconds) {
    ChartData data;
    testing::FillChart(data, t1, t2, stepSeconds);
    return ComputeGraphStatistics(data);
}

// A channel's MAX, MIN and AVG boxes.
struct Boxes {
    QString Max, Min, Avg;
    bool operator==(const Boxes&) const = default;
};

void PrintTo(const Boxes& b, std::ostream* out) {
    *out << '"' << b.Max.toStdString() << "\" \"" << b.Min.toStdString() << "\" \""
         << b.Avg.toStdString() << '"';
}

Boxes BoxesOf(const GraphStatistics& stats, int channel) {
    const ChannelStatistics& c = stats.Channels[channel];
    return {ExtremeText(c.Maximum, c.MaximumTime, kBritish),
            ExtremeText(c.Minimum, c.MinimumTime, kBritish), AverageText(c, kBritish)};
}

TEST(GraphStatisticsTest, SamplingRateIsTheMeanSpacingInMinutesAndSeconds) {
    GraphStatistics stats = Of({20.0f}, {20.0f}, 2);
    EXPECT_EQ(SamplingRateText(stats.SamplingSeconds), "00:00");
    EXPECT_EQ(stats.Points, 1);

    stats = Of(std::vector<float>(100, 20.0f), std::vector<float>(100, 20.0f), 2);
    EXPECT_EQ(SamplingRateText(stats.SamplingSeconds), "00:02");
    EXPECT_EQ(stats.Points, 100);
    EXPECT_EQ(DateTimeText(stats.FirstTime, kBritish), "17/05/2024 10:00:00");

    stats = Of(std::vector<float>(10, 20.0f), std::vector<float>(10, 20.0f), 3600);
    EXPECT_EQ(SamplingRateText(stats.SamplingSeconds), "60:00");
}

TEST(GraphStatisticsTest, SpacingIsRoundedToTheNearestSecond) {
    ChartData data;
    testing::FillChart(data, {1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}, 1);
    // 5.2 s over two gaps: 2.6 s shows as 3.
    data.SetXDataII(0, 2, At(2024, 5, 17, 10, 0, 5) + 0.2 * kOneSecond);
    EXPECT_EQ(SamplingRateText(ComputeGraphStatistics(data).SamplingSeconds), "00:03");
    // 4.8 s over two gaps: 2.4 s shows as 2.
    data.SetXDataII(0, 2, At(2024, 5, 17, 10, 0, 4) + 0.8 * kOneSecond);
    EXPECT_EQ(SamplingRateText(ComputeGraphStatistics(data).SamplingSeconds), "00:02");
}

TEST(GraphStatisticsTest, ASpacingBeyondTheBoxsIntegerShowsStars) {
    // A span of a million days between two points: more seconds than an int holds.
    ChartData data;
    testing::FillChart(data, {20.0f, 20.0f}, {20.0f, 20.0f}, 1);
    data.SetXDataII(0, 1, At(2024, 5, 17, 10, 0, 0) + 1'000'000.0);
    const GraphStatistics stats = ComputeGraphStatistics(data);
    EXPECT_FALSE(stats.SamplingSeconds.has_value());
    EXPECT_EQ(SamplingRateText(stats.SamplingSeconds), "****");
    // The same span backwards.
    data.SetXDataII(0, 1, At(2024, 5, 17, 10, 0, 0) - 1'000'000.0);
    EXPECT_EQ(SamplingRateText(ComputeGraphStatistics(data).SamplingSeconds), "****");
}

TEST(GraphStatisticsTest, ExtremesCarryTheTimeOfTheFirstOfEqualValues) {
    const GraphStatistics stats =
        Of({18.0f, 25.5f, 25.5f, 17.0f, 17.0f}, {5.0f, 5.0f, 5.0f, 5.0f, 5.0f}, 2);
    EXPECT_EQ(BoxesOf(stats, 0),
              (Boxes{"25.5@17/05/2024 10:00:02", "17.0@17/05/2024 10:00:06", "20.600"}));
    EXPECT_EQ(BoxesOf(stats, 1),
              (Boxes{"5.0@17/05/2024 10:00:00", "5.0@17/05/2024 10:00:00", "5.000"}));
}

TEST(GraphStatisticsTest, LimitMarkersShowAsOLAndStayOutOfTheAverage) {
    // T1: over-range samples around a real one; T2: nothing inside the window at all.
    const GraphStatistics stats =
        Of({9999.0f, 20.0f, 9999.0f, 20.0f}, {9999.0f, 3000.5f, 9999.0f, 4000.0f}, 2);
    EXPECT_EQ(BoxesOf(stats, 0), (Boxes{"OL", "20.0@17/05/2024 10:00:02", "20.000"}));
    EXPECT_EQ(BoxesOf(stats, 1).Max, "OL");
    EXPECT_EQ(BoxesOf(stats, 1).Avg, "****");
}

TEST(GraphStatisticsTest, AverageWindowExcludesBothBoundsAndUsesThreeDecimals) {
    const GraphStatistics stats =
        Of({3000.0f, 2999.0f, -3000.0f, -2999.0f, 1.0f}, {1.0f, 2.0f, 2.0f, 2.0f, 2.0f}, 2);
    EXPECT_EQ(BoxesOf(stats, 0).Avg, "0.333");
    EXPECT_EQ(BoxesOf(stats, 1).Avg, "1.800");
    // Exactly 3000 is a number, not a limit marker.
    EXPECT_EQ(BoxesOf(stats, 0).Max, "3000.0@17/05/2024 10:00:00");
}

TEST(GraphStatisticsTest, UnderRangeMarkersAreNeverAnExtremeCandidateAboveTheStart) {
    // The maximum starts at -9999: a channel of under-range markers keeps it and shows "OL".
    const GraphStatistics stats = Of({-9999.0f, -9999.0f}, {-9999.0f, 10.0f}, 2);
    EXPECT_EQ(BoxesOf(stats, 0).Max, "OL");
    EXPECT_EQ(BoxesOf(stats, 0).Min, "OL");
    EXPECT_EQ(BoxesOf(stats, 1).Max, "10.0@17/05/2024 10:00:02");
    EXPECT_EQ(BoxesOf(stats, 1).Min, "OL");
}

}  // namespace
}  // namespace kr820::core
