// SPDX-License-Identifier: MIT
// When the picture follows the model.
#include "graph/chart_view.h"

#include <gtest/gtest.h>

#include <QTest>

#include "chart_view_fixture.h"

namespace kr820::graph {
namespace {

using ChartViewRedrawTest = testing::ChartViewTest;

TEST_F(ChartViewRedrawTest, PictureFollowsTheModelOnlyOnRedrawAndCoalescesRequests) {
    chart.Data().SetYData(0, 0, 55.0f);
    view.Flush();
    EXPECT_EQ(Drawing().SubsetGraph(0)->data()->at(0)->value, 20.0);
    // A repaint alone does not rebuild the picture from the model.
    chart.PEactions(core::ChartAction::sgInvalidateImage);
    view.Flush();
    EXPECT_EQ(Drawing().SubsetGraph(0)->data()->at(0)->value, 20.0);

    // The program's redraw pair, twice over: one rebuild from the event loop.
    for (int i = 0; i < 2; ++i) {
        chart.PEactions(core::ChartAction::sgResetImage);
        chart.PEactions(core::ChartAction::sgInvalidateImage);
    }
    EXPECT_FALSE(view.IsUpToDate());
    EXPECT_TRUE(QTest::qWaitFor([this] { return view.IsUpToDate(); }, 2000));
    EXPECT_EQ(Drawing().SubsetGraph(0)->data()->at(0)->value, 55.0);
}

}  // namespace
}  // namespace kr820::graph
