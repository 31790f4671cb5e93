// SPDX-License-Identifier: MIT
// The DataLogger window filled from memory image bytes: grid, chart, statistics, list, cursor.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QTableView>
#include <QToolButton>
#include <memory>

#include "graph/chart_view.h"
#include "graph/data_list_model.h"
#include "graph/data_set_grid_model.h"
#include "graph/frm_graph.h"
#include "graph/graph_windows.h"
#include "graph_test_support.h"

namespace kr820::graph {
namespace {

using testing::At;

// Sample times are sums of steps; they agree with a clock time to well below a second.
#define EXPECT_SAME_TIME(actual, expected) \
    EXPECT_NEAR(((actual) - (expected)) * core::kSecondsPerDay, 0.0, 0.001)

class DataLoggerWindowTest : public ::testing::Test {
protected:
    DataLoggerWindowTest() : window(CreateDataLoggerWindow(harness.Context())) {
        window->resize(900, 600);
        window->show();
    }
    ~DataLoggerWindowTest() override { delete window; }

    QString Box(const char* name) const {
        return window->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }
    QTableView* Grid() const { return window->findChild<QTableView*>("dataSetGrid"); }
    QListView* List() const { return window->findChild<QListView*>("dataListView"); }
    core::VertLineAnnotation Cursor() const {
        return window->Chart().Annotations().VertLineAnnotationAt(0);
    }

    testing::GraphHarness harness;
    QPointer<TfrmGraph> window;
};

TEST_F(DataLoggerWindowTest, ImageBytesShowTheFirstSetWithGridListAndCursor) {
    ASSERT_EQ(window->ShowMemoryImage(testing::TwoSetImage()).Code, core::ParseCode::Success);

    const DataSetGridModel& grid = window->DataSets();
    ASSERT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.Cell(1, 1), "18/05/2024");
    EXPECT_EQ(grid.Cell(1, 3), "00:00:10");
    EXPECT_EQ(grid.Cell(1, 6), "F");
    EXPECT_EQ(Grid()->currentIndex().row(), 0);

    const core::ChartData& data = window->Chart().Data();
    ASSERT_EQ(data.Points(), 40);
    EXPECT_SAME_TIME(data.XDataII(1, 39), At(2024, 5, 17, 10, 1, 18));
    EXPECT_FLOAT_EQ(data.YData(0, 39), 23.9f);
    EXPECT_EQ(data.YData(1, 11), 9999.0f);
    EXPECT_SAME_TIME(window->Chart().Axes().ManualMaxX(), At(2024, 5, 17, 10, 1, 20));
    EXPECT_EQ(window->Chart().Axes().Axis(1).ManualMinY, -20.0);

    EXPECT_EQ(Box("txtStartTime"), "17/05/2024 10:00:00");
    EXPECT_EQ(Box("txtDataNo"), "40");
    EXPECT_EQ(Box("txtT2Max"), "OL");
    EXPECT_EQ(Box("txtT1Max"), "23.9@17/05/2024 10:01:18");

    ASSERT_EQ(window->DataList().rowCount(), 40);
    EXPECT_EQ(window->DataList().Line(11), "   12  17/05/2024  10:00:22     21.1       OL");
    EXPECT_EQ(List()->currentIndex().row(), 0);
    EXPECT_EQ(Cursor().X, At(2024, 5, 17, 10, 0, 0));
    EXPECT_EQ(Cursor().Text, "10:00:00 T1:20.0 T2:15.0");

    // The chart draws the over-range samples as a gap.
    window->View().Flush();
    EXPECT_TRUE(window->View().IsUpToDate());
}

TEST_F(DataLoggerWindowTest, ClickingTheSecondGridRowShowsTheSecondSet) {
    window->ShowMemoryImage(testing::TwoSetImage());
    Grid()->setCurrentIndex(window->DataSets().index(1, 0));

    const core::ChartData& data = window->Chart().Data();
    ASSERT_EQ(data.Points(), 25);
    EXPECT_EQ(data.XDataII(0, 0), At(2024, 5, 18, 9, 30, 0));
    EXPECT_FLOAT_EQ(data.YData(0, 3), 212.0f);
    EXPECT_EQ(window->findChild<QComboBox*>("txtSamplingRate")->currentText(), "00:10");
    EXPECT_EQ(Box("txtStartTime"), "18/05/2024 09:30:00");
    EXPECT_EQ(Box("txtDataNo"), "25");
    EXPECT_EQ(window->DataList().rowCount(), 25);
    EXPECT_EQ(List()->currentIndex().row(), 0);
    EXPECT_EQ(Cursor().X, At(2024, 5, 18, 9, 30, 0));
}

TEST_F(DataLoggerWindowTest, AGridRowWithoutADateLoadsNothing) {
    // The new window's grid has its one empty row.
    ASSERT_EQ(window->DataSets().rowCount(), 1);
    const int points = window->Chart().Data().Points();
    window->Grid2Click();
    EXPECT_EQ(window->Chart().Data().Points(), points);
    EXPECT_EQ(window->DataList().rowCount(), 0);
}

TEST_F(DataLoggerWindowTest, AnImageThatDoesNotDecodeLeavesStoreAndGridAsTheyWere) {
    window->ShowMemoryImage(testing::TwoSetImage());
    const QByteArray noSets = core::testing::ImageBuilder().CountText("0").Build();
    EXPECT_EQ(window->ShowMemoryImage(noSets).Code, core::ParseCode::NoDataSets);
    EXPECT_EQ(harness.document.Store().SetCount(), 2);
    EXPECT_EQ(window->DataSets().rowCount(), 2);
    EXPECT_EQ(window->DataList().rowCount(), 40);
}

TEST_F(DataLoggerWindowTest, APointClickedOnTheChartBecomesTheListsTopLineAndTheCursor) {
    window->ShowMemoryImage(testing::TwoSetImage());
    window->PESGraph1DataHotSpot(false, 0, 10);
    EXPECT_EQ(List()->currentIndex().row(), 10);
    EXPECT_EQ(List()->indexAt(QPoint(2, 2)).row(), 10);
    EXPECT_SAME_TIME(Cursor().X, At(2024, 5, 17, 10, 0, 20));

    // Choosing a line in the list moves the cursor there.
    List()->setCurrentIndex(window->DataList().index(5));
    EXPECT_SAME_TIME(Cursor().X, At(2024, 5, 17, 10, 0, 10));
    EXPECT_EQ(Cursor().Type, 2);
    EXPECT_EQ(Cursor().Color, 0xFFFFFFu);
}

TEST_F(DataLoggerWindowTest, TextListHidesOnlyTheListInTheDataLoggerWindow) {
    auto* textList = window->findChild<QCheckBox*>("chkTextList");
    textList->click();
    EXPECT_FALSE(window->findChild<QWidget*>("pnlDataList")->isVisible());
    EXPECT_TRUE(Grid()->isVisible());
    textList->click();
    EXPECT_TRUE(window->findChild<QWidget*>("pnlDataList")->isVisible());
}

TEST_F(DataLoggerWindowTest, AFullLoggerMemoryListsEveryPointThroughTheModel) {
    core::testing::TestSet full;
    full.rateCode = 0;
    for (int i = 0; i < 33000; ++i) full.pairs.push_back({i % 500, 250});
    ASSERT_EQ(window->ShowMemoryImage(core::testing::ImageBuilder().Add(full).Build()).Code,
              core::ParseCode::Success);
    ASSERT_EQ(List()->model()->rowCount(), 33000);
    EXPECT_TRUE(List()->uniformItemSizes());
    EXPECT_EQ(window->DataList().Line(32999), "33000  17/05/2024  19:09:59     49.9     25.0");
    List()->scrollToBottom();
    EXPECT_EQ(List()->model()->data(List()->indexAt(QPoint(2, 2))).toString().left(2), "32");
}

TEST(DataLoggerWindowSetUpTest, CreatedWithHotSpotsFiveHundredPointsAndTheSplitTools) {
    testing::GraphHarness harness;
    std::unique_ptr<TfrmGraph> window(CreateDataLoggerWindow(harness.Context()));
    const core::ChartModel& chart = window->Chart();
    EXPECT_EQ(window->windowTitle(), "DataLogger");
    EXPECT_EQ(window->Role(), GraphRole::DataLogger);
    EXPECT_EQ(chart.Data().Points(), 500);
    EXPECT_EQ(chart.Axes().Axis(0).ManualMinY, 30.0);
    EXPECT_EQ(chart.Axes().Axis(1).ManualMaxY, 130.0);
    EXPECT_NEAR((chart.Axes().ManualMaxX() - chart.Axes().ManualMinX()) * core::kSecondsPerDay,
                500.0, 0.01);
    EXPECT_TRUE(chart.Settings().AllowGraphAnnotHotSpots);
    EXPECT_FALSE(window->ToolBar().crossTool->isEnabled());
    EXPECT_FALSE(window->ToolBar().textTool->isEnabled());
    EXPECT_TRUE(window->ToolBar().chkSplit->isChecked());
    EXPECT_FALSE(window->ToolBar().tbntClrAction->isVisible());
    EXPECT_TRUE(window->findChild<QWidget*>("dataSetGrid")->isVisibleTo(window.get()));
}

}  // namespace
}  // namespace kr820::graph
