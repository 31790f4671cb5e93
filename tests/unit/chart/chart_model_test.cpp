// SPDX-License-Identifier: MIT
#include "core/chart/chart_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace kr820::core {
namespace {

// Records what a view connected to the model would be told.
struct ViewProbe {
    explicit ViewProbe(ChartModel& chart) {
        QObject::connect(&chart, &ChartModel::redrawRequested,
                         [this](quint64 generation) { redraws.push_back(generation); });
        QObject::connect(&chart, &ChartModel::actionRequested,
                         [this](ChartAction action) { actions.push_back(action); });
    }
    std::vector<quint64> redraws;
    std::vector<ChartAction> actions;
};

TEST(ChartModel, WritesAloneNeverAskTheViewToDraw) {
    ChartModel chart;
    ViewProbe view(chart);
    chart.Data().SetSubsets(2);
    chart.Data().SetPoints(1000);
    for (int p = 0; p < 1000; ++p) chart.Data().SetYData(0, p, 20.0f);
    chart.Axes().SetWorkingAxis(1);
    chart.Axes().SetManualMinY(-10.0);
    chart.Settings().MainTitle = QStringLiteral("x");
    chart.Annotations().AddGraphAnnotation({});
    EXPECT_TRUE(view.redraws.empty());
    EXPECT_EQ(chart.RedrawGeneration(), 0u);

    chart.Redraw();
    EXPECT_EQ(view.redraws, (std::vector<quint64>{1}));
    EXPECT_EQ(chart.RedrawGeneration(), 1u);
}

TEST(ChartModel, ResetRebuildsInvalidateRepaintsAndTheRestGoesToTheView) {
    ChartModel chart;
    ViewProbe view(chart);
    chart.PEactions(ChartAction::sgResetImage);
    chart.PEactions(ChartAction::sgInvalidateImage);
    // The pair is one rebuild: the repaint carries the generation the reset started.
    EXPECT_EQ(view.redraws, (std::vector<quint64>{1, 1}));
    chart.PEactions(ChartAction::sgReinitAndReset);
    EXPECT_EQ(chart.RedrawGeneration(), 2u);
    EXPECT_TRUE(view.actions.empty());

    chart.PEactions(ChartAction::sgUndoZoom);
    chart.PEactions(ChartAction::sgCustomize);
    chart.PEactions(ChartAction::sgPrintDialog);
    EXPECT_EQ(view.actions,
              (std::vector<ChartAction>{ChartAction::sgUndoZoom, ChartAction::sgCustomize,
                                        ChartAction::sgPrintDialog}));
    EXPECT_EQ(view.redraws.size(), 3u);
}

TEST(ChartModel, LoadingReplacesTheChartAndAsksForARedraw) {
    ChartModel source;
    source.Data().SetSubsets(2);
    source.Data().SetPoints(3);
    source.Data().SetYData(1, 2, 42.5f);
    source.Axes().SetSplit(true);
    source.Annotations().EditGraphAnnotation(4)->Text = QStringLiteral("note");

    ChartModel target;
    target.Settings().MainTitle = QStringLiteral("old");
    ViewProbe view(target);
    ASSERT_EQ(target.LoadFromBlock(source.SaveToBlock()), ChartLoadResult::Loaded);
    EXPECT_EQ(target.State(), source.State());
    EXPECT_EQ(view.redraws, (std::vector<quint64>{1}));
}

TEST(ChartModel, ARefusedLoadChangesNothingAndDrawsNothing) {
    ChartModel chart;
    chart.Data().SetSubsets(2);
    chart.Data().SetPoints(2);
    chart.Data().SetXDataII(0, 1, 46000.0);
    const QByteArray saved = chart.SaveToBlock();
    const ChartState before = chart.State();
    ViewProbe view(chart);

    EXPECT_EQ(chart.LoadFromBlock(saved.left(saved.size() - 1)), ChartLoadResult::Truncated);
    EXPECT_EQ(chart.LoadFromBlock(QByteArray("not a chart")), ChartLoadResult::NotAChartBlock);
    EXPECT_EQ(chart.State(), before);
    EXPECT_TRUE(view.redraws.empty());
}

}  // namespace
}  // namespace kr820::core
