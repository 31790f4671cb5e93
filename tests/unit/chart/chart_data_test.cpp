// SPDX-License-Identifier: MIT
#include "core/chart/chart_data.h"

#include <gtest/gtest.h>

#include "core/data/data_set_store.h"

namespace kr820::core {
namespace {

template <typename T>
std::vector<T> Copy(std::span<const T> values) {
    return {values.begin(), values.end()};
}

ChartData Chart(int subsets, int points) {
    ChartData data;
    data.SetSubsets(subsets);
    data.SetPoints(points);
    return data;
}

TEST(ChartData, WriteWithIndexMinusOneResetsEveryPointOfEverySubset) {
    ChartData data = Chart(2, 5);
    data.SetXDataII(1, 3, 46000.5);
    data.SetYData(0, 2, 21.4f);

    // The graph set-up's reset: X = 0 and Y = 9999 everywhere.
    EXPECT_TRUE(data.SetXDataII(ChartData::kAll, 0, 0.0));
    EXPECT_TRUE(data.SetYDataII(ChartData::kAll, 0, 9999.0));
    for (int s = 0; s < 2; ++s) {
        for (int p = 0; p < 5; ++p) {
            EXPECT_EQ(data.XDataII(s, p), 0.0) << s << "," << p;
            EXPECT_EQ(data.YData(s, p), 9999.0f) << s << "," << p;
        }
    }
    // The point index may carry the -1 as well.
    data.SetYData(0, ChartData::kAll, 5.0f);
    EXPECT_EQ(data.YData(1, 4), 5.0f);
}

TEST(ChartData, WritesOutsideTheChartAreIgnoredAndReadsGiveZero) {
    ChartData data = Chart(2, 3);
    data.SetYData(-1, -1, 7.0f);
    EXPECT_FALSE(data.SetXDataII(2, 0, 1.0));
    EXPECT_FALSE(data.SetYData(0, 3, 1.0f));  // the real-time chart's point beyond Points - 1
    EXPECT_FALSE(data.SetYData(-2, 0, 1.0f));
    EXPECT_EQ(data.YData(0, 2), 7.0f);
    EXPECT_EQ(data.XDataII(5, 0), 0.0);
    EXPECT_EQ(data.YData(0, 3), 0.0f);
    EXPECT_TRUE(data.X(2).empty());
}

TEST(ChartData, CuttingThePointCountKeepsThePointsTaken) {
    // The real-time stop cuts a chart of 2000 points to the 10 taken.
    ChartData data = Chart(2, 2000);
    for (int p = 0; p < 10; ++p) {
        data.SetXDataII(0, p, 100.0 + p);
        data.SetYData(1, p, 20.0f + p);
    }
    data.SetPoints(10);
    ASSERT_EQ(data.Points(), 10);
    EXPECT_EQ(data.XDataII(0, 9), 109.0);
    EXPECT_EQ(data.YData(1, 9), 29.0f);
    EXPECT_EQ(data.Y(1).size(), 10u);

    // Growing again, and a subset added later, give new points X = 0 and Y = 0.
    data.SetPoints(12);
    data.SetSubsets(3);
    EXPECT_EQ(data.XDataII(0, 11), 0.0);
    EXPECT_EQ(data.YData(1, 9), 29.0f);
    EXPECT_EQ(data.Y(2).size(), 12u);
}

TEST(ChartData, CountsAreClampedToTheChartLimits) {
    ChartData data = Chart(-3, 2'000'000'000);
    EXPECT_EQ(data.Subsets(), 0);
    EXPECT_EQ(data.Points(), ChartData::kMaxPoints);
    data = Chart(100, -1);
    EXPECT_EQ(data.Subsets(), ChartData::kMaxSubsets);
    EXPECT_EQ(data.Points(), 0);
}

TEST(ChartData, BlockFromTheStoreLandsAsT1OnSubsetZeroAndT2OnSubsetOne) {
    TDataSetStore store;
    store.AppendSet({.StartTime = 46000.0, .RateCode = 1, .SampleCount = 1});
    store.AppendSet({.StartTime = 46001.0, .RateCode = 12, .SampleCount = 3});
    store.AppendPair(46000.0, -1.0f, -2.0f);
    store.AppendPair(46001.0, 21.4f, 9999.0f);
    store.AppendPair(46001.125, 22.5f, 30.0f);
    store.AppendPair(46001.25, 23.5f, 31.0f);

    const FlatRange set1 = store.SetRange(1);
    const std::span<const TDateTime> times(store.Times().data() + set1.First, set1.Count);
    const std::span<const float> values(store.Values().data() + set1.First, set1.Count);
    ChartData data = Chart(2, 3);
    EXPECT_EQ(data.SetXBlock(times), 3);
    EXPECT_EQ(data.SetYBlock(values), 3);

    const std::vector<TDateTime> times3{46001.0, 46001.125, 46001.25};
    EXPECT_EQ(Copy(data.X(0)), times3);
    EXPECT_EQ(Copy(data.X(1)), times3);
    EXPECT_EQ(Copy(data.Y(0)), (std::vector<float>{21.4f, 22.5f, 23.5f}));
    EXPECT_EQ(Copy(data.Y(1)), (std::vector<float>{9999.0f, 30.0f, 31.0f}));
}

TEST(ChartData, BlockLaysNoMoreThanTheChartHoldsAndLeavesTheRest) {
    const std::vector<float> pairs{1, 2, 3, 4, 5, 6};
    ChartData small = Chart(2, 2);
    EXPECT_EQ(small.SetYBlock(pairs), 2);
    EXPECT_EQ(small.YData(1, 1), 4.0f);

    ChartData large = Chart(2, 5);
    large.SetYData(ChartData::kAll, 0, 9999.0f);
    EXPECT_EQ(large.SetYBlock(pairs), 3);
    EXPECT_EQ(large.YData(0, 2), 5.0f);
    EXPECT_EQ(large.YData(0, 3), 9999.0f);
}

TEST(ChartData, BlockIsRefusedWhenItCannotBePairs) {
    ChartData data = Chart(2, 4);
    const std::vector<TDateTime> odd{1.0, 2.0, 3.0};
    EXPECT_EQ(data.SetXBlock(odd), 0);
    EXPECT_EQ(data.XDataII(0, 0), 0.0);

    ChartData oneSubset = Chart(1, 4);
    const std::vector<TDateTime> pairs{1.0, 2.0};
    EXPECT_EQ(oneSubset.SetXBlock(pairs), 0);
    EXPECT_EQ(oneSubset.XDataII(0, 0), 0.0);
}

}  // namespace
}  // namespace kr820::core
