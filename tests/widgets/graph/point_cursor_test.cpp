// SPDX-License-Identifier: MIT
// The point cursor: its readout, and the real-time window's Clear taking it off the chart.
#include <gtest/gtest.h>

#include <QListView>
#include <memory>

#include "graph/chart_view.h"
#include "graph/data_list_model.h"
#include "graph/frm_graph.h"
#include "graph/graph_windows.h"
#include "graph_test_support.h"

namespace kr820::graph {
namespace {

// The texts the chart shows over its plot, as last drawn.
QStringList DrawnTexts(ChartView& view) {
    view.Flush();
    QStringList texts;
    for (int i = 0; i < view.itemCount(); ++i) {
        if (const auto* text = qobject_cast<QCPItemText*>(view.item(i))) texts << text->text();
    }
    return texts;
}

TEST(PointCursorTest, AnOutOfRangeSampleReadsOLAsInTheDataList) {
    testing::GraphHarness harness;
    std::unique_ptr<TfrmGraph> window(CreateDataLoggerWindow(harness.Context()));
    window->show();
    window->ShowMemoryImage(testing::TwoSetImage());
    window->findChild<QListView*>("dataListView")->setCurrentIndex(window->DataList().index(11));
    EXPECT_TRUE(window->DataList().Line(11).endsWith("OL"));
    EXPECT_EQ(DrawnTexts(window->View()), QStringList{"10:00:22 T1:21.1 T2:OL"});
}

TEST(PointCursorTest, ClearTakesTheCursorOffTheRealTimeChart) {
    testing::GraphHarness harness;
    harness.prompter.confirmAnswer = ui::Prompter::Answer::No;  // "Save Real-Time Graph ?"
    std::unique_ptr<TfrmGraph> window(CreateRealTimeGraph(harness.Context()));
    window->show();
    testing::FillChart(window->Chart().Data(), {21.0f, 22.0f, 23.0f}, {30.0f, 31.0f, 9999.0f}, 2);
    window->Chart().Redraw();
    window->FillDataList();
    window->PESGraph1DataHotSpot(false, 0, 1);
    ASSERT_EQ(DrawnTexts(window->View()), QStringList{"10:00:02 T1:22.0 T2:31.0"});

    window->tbntClrClick();
    EXPECT_EQ(window->DataList().rowCount(), 0);
    EXPECT_TRUE(DrawnTexts(window->View()).isEmpty());
    EXPECT_EQ(window->Chart().Annotations().VertLineAnnotationAt(0).Text, "");
}

}  // namespace
}  // namespace kr820::graph
