// SPDX-License-Identifier: MIT
#include "graph/configure_graph.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/chart/chart_model.h"
#include "graph_test_support.h"

namespace kr820::graph {
namespace {

using testing::At;

struct Bounds {
    double t1Min, t1Max, t2Min, t2Max;
    bool operator==(const Bounds&) const = default;
};

void PrintTo(const Bounds& b, std::ostream* out) {
    *out << b.t1Min << " " << b.t1Max << " " << b.t2Min << " " << b.t2Max;
}

class ConfigureGraphTest : public ::testing::Test {
protected:
    void WriteScaleFile(const QByteArray& content) {
        ASSERT_TRUE(QDir(folder.path()).mkpath("ini"));
        QFile file(ScaleFilePath(folder.path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    void Configure(core::TDateTime minX = At(2024, 5, 17, 10, 0, 0)) {
        ConfigureGraph(chart, ScaleFilePath(folder.path()), 2, 50, minX,
                       minX + 100 * core::kOneSecond, -20.0f, 100.0f);
    }
    Bounds YBounds() const {
        const core::ChartAxes& axes = chart.Axes();
        return {axes.Axis(0).ManualMinY, axes.Axis(0).ManualMaxY, axes.Axis(1).ManualMinY,
                axes.Axis(1).ManualMaxY};
    }

    QTemporaryDir folder;
    core::ChartModel chart;
};

TEST_F(ConfigureGraphTest, SetsTheChartUpFromScratchInSplitLayout) {
    // Leftovers of an earlier data set, a joined layout and another working axis.
    testing::FillChart(chart.Data(), {1.0f, 2.0f}, {3.0f, 4.0f}, 2);
    chart.Axes().SetSplit(false);
    chart.Axes().SetWorkingAxis(1);
    const quint64 before = chart.RedrawGeneration();

    Configure();

    const core::ChartData& data = chart.Data();
    ASSERT_EQ(data.Subsets(), 2);
    ASSERT_EQ(data.Points(), 50);
    for (int subset = 0; subset < 2; ++subset) {
        for (int point : {0, 1, 49}) {
            EXPECT_EQ(data.XDataII(subset, point), 0.0);
            EXPECT_EQ(data.YData(subset, point), 9999.0f);
        }
    }
    const core::ChartAxes& axes = chart.Axes();
    EXPECT_TRUE(axes.IsSplit());
    EXPECT_EQ(axes.MultiAxesProportions(0), 0.5);
    EXPECT_EQ(axes.WorkingAxis(), 0);
    EXPECT_EQ(axes.Axis(0).YAxisLabel, "T1");
    EXPECT_EQ(axes.Axis(1).YAxisLabel, "T2");
    EXPECT_EQ(axes.Axis(1).ManualScaleControlY, core::ManualScale::sgManualMinAndMax);
    EXPECT_EQ(YBounds(), (Bounds{-20, 100, -20, 100}));
    EXPECT_EQ(axes.ManualScaleControlX(), core::ManualScale::sgManualMinAndMax);
    EXPECT_EQ(axes.ManualMinX(), At(2024, 5, 17, 10, 0, 0));
    EXPECT_EQ(axes.ManualMaxX(), At(2024, 5, 17, 10, 1, 40));

    const core::ChartSettings& s = chart.Settings();
    EXPECT_EQ(s.NullDataValueY, 9999.0);
    EXPECT_EQ(s.DateTimeMode, core::DateTimeKind::sgVBDateTime);
    EXPECT_TRUE(s.UsingXDataII);
    EXPECT_EQ(s.SubsetLabels.At(0), "T1");
    EXPECT_EQ(s.SubsetColors.At(1), 0xFFFF00u);
    EXPECT_EQ(s.AllowZooming, core::ZoomDirections::sgHorzPlusVertZooming);
    EXPECT_TRUE(s.AllowDataHotSpots);
    EXPECT_EQ(chart.Annotations().VertLineAnnotationAt(1).Color, 0xFF0000u);
    EXPECT_GT(chart.RedrawGeneration(), before);
}

TEST_F(ConfigureGraphTest, AnXMinimumOfZeroLeavesTheTimeAxisToTheData) {
    Configure(0.0);
    EXPECT_EQ(chart.Axes().ManualScaleControlX(), core::ManualScale::sgNoManualScale);
}

TEST_F(ConfigureGraphTest, ASavedScaleFileOverridesBothAxes) {
    WriteScaleFile("[SCALE]\n-5\n45\n0\n80\n");
    Configure();
    EXPECT_EQ(YBounds(), (Bounds{-5, 45, 0, 80}));
}

TEST_F(ConfigureGraphTest, ABoundTheFileDoesNotHoldKeepsTheCallers) {
    WriteScaleFile("anything\n-5\nabc\n 0 \nnan\n");
    Configure();
    EXPECT_EQ(YBounds(), (Bounds{-5, 100, 0, 100}));
}

TEST_F(ConfigureGraphTest, NoFileOrNoFolderKeepsTheCallersRange) {
    Configure();
    EXPECT_EQ(YBounds(), (Bounds{-20, 100, -20, 100}));
    ConfigureGraph(chart, ScaleFilePath(QString()), 2, 5, 0, 0, 30.0f, 130.0f);
    EXPECT_EQ(YBounds(), (Bounds{30, 130, 30, 130}));
}

}  // namespace
}  // namespace kr820::graph
