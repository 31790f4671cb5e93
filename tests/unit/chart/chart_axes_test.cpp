// SPDX-License-Identifier: MIT
#include "core/chart/chart_axes.h"

#include <gtest/gtest.h>

namespace kr820::core {
namespace {

TEST(ChartAxes, YPropertiesAddressTheWorkingAxis) {
    ChartAxes axes;
    axes.SetWorkingAxis(0);
    axes.SetManualScaleControlY(ManualScale::sgManualMinAndMax);
    axes.SetManualMinY(-20.0);
    axes.SetManualMaxY(100.0);
    axes.SetYAxisLabel(QStringLiteral("T1"));
    axes.SetWorkingAxis(1);
    axes.SetManualMinY(30.0);
    axes.SetManualMaxY(130.0);
    axes.SetYAxisLabel(QStringLiteral("T2"));

    EXPECT_EQ(axes.ManualMinY(), 30.0);
    EXPECT_EQ(axes.ManualScaleControlY(), ManualScale::sgNoManualScale);
    axes.SetWorkingAxis(0);
    EXPECT_EQ(axes.ManualMinY(), -20.0);
    EXPECT_EQ(axes.ManualMaxY(), 100.0);
    EXPECT_EQ(axes.YAxisLabel(), QStringLiteral("T1"));
    EXPECT_EQ(axes.Axis(1).ManualMaxY, 130.0);
    EXPECT_EQ(axes.Axis(1).YAxisLabel, QStringLiteral("T2"));

    // An axis number out of range leaves the working axis where it was.
    EXPECT_FALSE(axes.SetWorkingAxis(ChartAxes::kMaxAxes));
    EXPECT_FALSE(axes.SetWorkingAxis(-1));
    EXPECT_EQ(axes.WorkingAxis(), 0);
}

TEST(ChartAxes, SplitStacksT1AboveT2HalfTheHeightEach) {
    ChartAxes axes;
    axes.SetSplit(true);
    EXPECT_TRUE(axes.IsSplit());
    EXPECT_EQ(axes.MultiAxesSubsets(0), 1);
    EXPECT_EQ(axes.MultiAxesSubsets(1), 1);
    EXPECT_EQ(axes.MultiAxesProportions(0), 0.5);
    EXPECT_EQ(axes.Layout(2), (std::vector<AxisBand>{{0, 0, 1, 0.5}, {1, 1, 1, 0.5}}));
    EXPECT_EQ(axes.AxisOfSubset(0, 2), 0);
    EXPECT_EQ(axes.AxisOfSubset(1, 2), 1);
}

TEST(ChartAxes, JoinedDrawsBothSubsetsOnAxisZeroOverTheFullHeight) {
    ChartAxes axes;
    axes.SetSplit(true);
    // What the Split box does when unticked, written as the graph code writes it.
    axes.SetMultiAxesSubsets(ChartAxes::kAllAxes, 0);
    axes.SetMultiAxesProportions(0, 1.0);
    EXPECT_FALSE(axes.IsSplit());
    EXPECT_EQ(axes.MultiAxesSubsets(1), 0);
    EXPECT_EQ(axes.MultiAxesProportions(0), 1.0);
    EXPECT_EQ(axes.Layout(2), (std::vector<AxisBand>{{0, 0, 2, 1.0}}));
    EXPECT_EQ(axes.AxisOfSubset(1, 2), 0);

    ChartAxes joined;
    joined.SetSplit(true);
    joined.SetSplit(false);
    EXPECT_EQ(joined, axes);
}

TEST(ChartAxes, LayoutScalesSharesAndPlacesUncoveredSubsetsOnTheLastBand) {
    ChartAxes axes;
    axes.SetMultiAxesSubsets(0, 1);
    axes.SetMultiAxesSubsets(1, 0);  // an axis without subsets takes no band
    axes.SetMultiAxesSubsets(2, 1);
    axes.SetMultiAxesProportions(0, 3.0);
    axes.SetMultiAxesProportions(2, 1.0);
    EXPECT_EQ(axes.Layout(4), (std::vector<AxisBand>{{0, 0, 1, 0.75}, {2, 1, 3, 0.25}}));

    axes.SetMultiAxesProportions(0, 0.0);
    axes.SetMultiAxesProportions(2, 0.0);
    EXPECT_EQ(axes.Layout(2), (std::vector<AxisBand>{{0, 0, 1, 0.5}, {2, 1, 1, 0.5}}));
}

TEST(ChartAxes, LayoutRefusesWhatNoChartCanHold) {
    ChartAxes axes;
    EXPECT_FALSE(axes.SetMultiAxesSubsets(0, -1));
    EXPECT_FALSE(axes.SetMultiAxesSubsets(ChartAxes::kMaxAxes, 1));
    EXPECT_FALSE(axes.SetMultiAxesProportions(0, -0.5));
    EXPECT_FALSE(axes.SetMultiAxesProportions(0, std::nan("")));
    EXPECT_EQ(axes, ChartAxes{});
}

}  // namespace
}  // namespace kr820::core
