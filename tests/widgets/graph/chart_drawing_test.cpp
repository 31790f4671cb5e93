// SPDX-License-Identifier: MIT
// How a chart model is drawn: bands, lines and where values lie on the picture.
#include "graph/chart_drawing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "chart_view_fixture.h"

namespace kr820::graph {
namespace {

using testing::kStart;
using ChartDrawingTest = testing::ChartViewTest;

// The drawn stretches of a line: runs of numbers between the NaN points that break it.
int Segments(const QCPGraph* graph) {
    int segments = 0;
    bool inRun = false;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it) {
        const bool drawn = !std::isnan(it->value);
        if (drawn && !inRun) ++segments;
        inRun = drawn;
    }
    return segments;
}

int DrawnPoints(const QCPGraph* graph) {
    int points = 0;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        points += std::isnan(it->value) ? 0 : 1;
    return points;
}

TEST_F(ChartDrawingTest, SplitStacksT1AboveT2WithOneTimeRange) {
    ASSERT_EQ(Drawing().BandCount(), 2);
    EXPECT_EQ(Drawing().SubsetGraph(0)->keyAxis()->axisRect(), Drawing().BandRect(0));
    EXPECT_EQ(Drawing().SubsetGraph(1)->keyAxis()->axisRect(), Drawing().BandRect(1));
    EXPECT_LT(Drawing().BandRect(0)->rect().bottom(), Drawing().BandRect(1)->rect().top());
    EXPECT_NEAR(Drawing().BandRect(0)->rect().height(), Drawing().BandRect(1)->rect().height(), 2);
    EXPECT_EQ(XRange(0), XRange(1));
    EXPECT_EQ(YRange(0), QCPRange(-20, 100));
    EXPECT_EQ(Drawing().BandRect(1)->axis(QCPAxis::atLeft)->label(), "T2");
}

TEST_F(ChartDrawingTest, JoinedDrawsBothSubsetsInOneBandOverTheFullHeight) {
    const QRect split = Drawing().PlottingRect();
    chart.Axes().SetSplit(false);
    chart.Redraw();
    view.Flush();
    ASSERT_EQ(Drawing().BandCount(), 1);
    EXPECT_EQ(Drawing().SubsetGraph(1)->keyAxis()->axisRect(), Drawing().BandRect(0));
    EXPECT_GT(Drawing().BandRect(0)->rect().height(), split.height() - 40);
}

TEST_F(ChartDrawingTest, NullValuesGapsAndUnfilledPointsAreNotDrawn) {
    core::ChartData& data = chart.Data();
    data.SetYData(0, 3, 9999.0f);
    data.SetYData(0, 4, 9999.0f);
    // A lone point between two nulls still shows, as a dot.
    data.SetYData(0, 10, 9999.0f);
    data.SetYData(0, 12, 9999.0f);
    // T2 jumps a minute after point 7; points from 15 on hold no sample yet (X = 0).
    for (int i = 8; i < 15; ++i) data.SetXDataII(1, i, kStart + (60 + 2 * i) * core::kOneSecond);
    for (int i = 15; i < 20; ++i) data.SetXDataII(1, i, 0.0);
    chart.Settings().LineGapThreshold = 10 * core::kOneSecond;
    chart.Redraw();
    view.Flush();

    EXPECT_EQ(Segments(Drawing().SubsetGraph(0)), 4);  // 0-2, 5-9, 11, 13-19
    EXPECT_EQ(DrawnPoints(Drawing().SubsetGraph(0)), 16);
    EXPECT_EQ(Segments(Drawing().SubsetGraph(1)), 2);  // 0-7, 8-14
    EXPECT_EQ(DrawnPoints(Drawing().SubsetGraph(1)), 15);
    // The lone point's dot, besides the two lines.
    EXPECT_EQ(view.plottableCount(), 3);
}

TEST_F(ChartDrawingTest, UnderRangeSamplesLeaveGapsAndALoneSampleBetweenThemIsADot) {
    core::ChartData& data = chart.Data();
    for (int i : {3, 5, 9, 10, 11}) data.SetYData(0, i, -9999.0f);
    data.SetYData(1, 0, -9999.0f);
    chart.Redraw();
    view.Flush();

    const QCPGraph* t1 = Drawing().SubsetGraph(0);
    EXPECT_EQ(Segments(t1), 4);  // 0-2, 4, 6-8, 12-19
    EXPECT_EQ(DrawnPoints(t1), 15);
    // Nothing is drawn far below the plot, where a line to the marker would run.
    bool found = false;
    EXPECT_GE(t1->getValueRange(found).lower, 20.0);
    EXPECT_EQ(Segments(Drawing().SubsetGraph(1)), 1);
    // Point 4 has no drawn neighbour: besides the two lines, a dot.
    ASSERT_EQ(view.plottableCount(), 3);
    const QCPGraph* dot = nullptr;
    for (int i = 0; i < view.graphCount(); ++i) {
        if (view.graph(i)->lineStyle() == QCPGraph::lsNone) dot = view.graph(i);
    }
    ASSERT_NE(dot, nullptr);
    ASSERT_EQ(dot->dataCount(), 1);
    EXPECT_EQ(dot->data()->at(0)->value, 24.0);
    EXPECT_EQ(dot->scatterStyle().shape(), QCPScatterStyle::ssDisc);
}

TEST_F(ChartDrawingTest, PixelsAndValuesConvertBothWaysOnTheBandUnderThePixel) {
    const core::TDateTime time = kStart + 13 * core::kOneSecond;
    const QPointF pixel = Drawing().ValueToPixel(1, time, 42.0);
    ASSERT_TRUE(Drawing().BandRect(1)->rect().contains(pixel.toPoint()));
    const ChartPosition back = Drawing().PixelToValue(pixel);
    EXPECT_EQ(back.Axis, 1);
    EXPECT_NEAR((back.X - time) * core::kSecondsPerDay, 0.0, 0.5);
    EXPECT_NEAR(back.Y, 42.0, 0.5);
    EXPECT_TRUE(Drawing().PlottingRect().contains(Drawing().BandRect(0)->rect()));
    EXPECT_TRUE(Drawing().PlottingRect().contains(Drawing().BandRect(1)->rect()));
}

}  // namespace
}  // namespace kr820::graph
