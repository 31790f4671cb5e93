// SPDX-License-Identifier: MIT
#include "graph/chart_view.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "core/chart/chart_model.h"
#include "graph/configure_graph.h"
#include "graph_test_support.h"

namespace kr820::graph {
namespace {

using testing::At;

const core::TDateTime kStart = At(2024, 5, 17, 10, 0, 0);

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

class ChartViewTest : public ::testing::Test {
protected:
    ChartViewTest() : view(chart) {
        view.resize(800, 500);
        view.show();
        // The program's charts: split, 20 points at 2 s, Y from -20 to 100.
        ConfigureGraph(chart, QString(), 2, 20, kStart, kStart + 40 * core::kOneSecond, -20, 100);
        for (int i = 0; i < 20; ++i) {
            for (int subset = 0; subset < 2; ++subset)
                chart.Data().SetXDataII(subset, i, kStart + 2 * i * core::kOneSecond);
            chart.Data().SetYData(0, i, 20.0f + i);
            chart.Data().SetYData(1, i, 60.0f - i);
        }
        chart.Redraw();
        view.Flush();
    }

    QCPRange XRange(int band) const {
        return view.BandRect(band)->axis(QCPAxis::atBottom)->range();
    }
    QCPRange YRange(int band) const { return view.BandRect(band)->axis(QCPAxis::atLeft)->range(); }
    QPoint PixelOf(int subset, int point) const {
        return view
            .ValueToPixel(subset, chart.Data().XDataII(subset, point),
                          chart.Data().YData(subset, point))
            .toPoint();
    }

    core::ChartModel chart;
    ChartView view;
};

TEST_F(ChartViewTest, SplitStacksT1AboveT2WithOneTimeRange) {
    ASSERT_EQ(view.BandCount(), 2);
    EXPECT_EQ(view.SubsetGraph(0)->keyAxis()->axisRect(), view.BandRect(0));
    EXPECT_EQ(view.SubsetGraph(1)->keyAxis()->axisRect(), view.BandRect(1));
    EXPECT_LT(view.BandRect(0)->rect().bottom(), view.BandRect(1)->rect().top());
    EXPECT_NEAR(view.BandRect(0)->rect().height(), view.BandRect(1)->rect().height(), 2);
    EXPECT_EQ(XRange(0), XRange(1));
    EXPECT_EQ(YRange(0), QCPRange(-20, 100));
    EXPECT_EQ(view.BandRect(1)->axis(QCPAxis::atLeft)->label(), "T2");
}

TEST_F(ChartViewTest, JoinedDrawsBothSubsetsInOneBandOverTheFullHeight) {
    const QRect split = view.PlottingRect();
    chart.Axes().SetSplit(false);
    chart.Redraw();
    view.Flush();
    ASSERT_EQ(view.BandCount(), 1);
    EXPECT_EQ(view.SubsetGraph(1)->keyAxis()->axisRect(), view.BandRect(0));
    EXPECT_GT(view.BandRect(0)->rect().height(), split.height() - 40);
}

TEST_F(ChartViewTest, NullValuesGapsAndUnfilledPointsAreNotDrawn) {
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

    EXPECT_EQ(Segments(view.SubsetGraph(0)), 4);  // 0-2, 5-9, 11, 13-19
    EXPECT_EQ(DrawnPoints(view.SubsetGraph(0)), 16);
    EXPECT_EQ(Segments(view.SubsetGraph(1)), 2);  // 0-7, 8-14
    EXPECT_EQ(DrawnPoints(view.SubsetGraph(1)), 15);
    // The lone point's dot, besides the two lines.
    EXPECT_EQ(view.plottableCount(), 3);
}

TEST_F(ChartViewTest, PictureFollowsTheModelOnlyOnRedrawAndCoalescesRequests) {
    chart.Data().SetYData(0, 0, 55.0f);
    view.Flush();
    EXPECT_EQ(view.SubsetGraph(0)->data()->at(0)->value, 20.0);
    // A repaint alone does not rebuild the picture from the model.
    chart.PEactions(core::ChartAction::sgInvalidateImage);
    view.Flush();
    EXPECT_EQ(view.SubsetGraph(0)->data()->at(0)->value, 20.0);

    // The program's redraw pair, twice over: one rebuild from the event loop.
    for (int i = 0; i < 2; ++i) {
        chart.PEactions(core::ChartAction::sgResetImage);
        chart.PEactions(core::ChartAction::sgInvalidateImage);
    }
    EXPECT_FALSE(view.IsUpToDate());
    EXPECT_TRUE(QTest::qWaitFor([this] { return view.IsUpToDate(); }, 2000));
    EXPECT_EQ(view.SubsetGraph(0)->data()->at(0)->value, 55.0);
}

TEST_F(ChartViewTest, PixelsAndValuesConvertBothWaysOnTheBandUnderThePixel) {
    const core::TDateTime time = kStart + 13 * core::kOneSecond;
    const QPointF pixel = view.ValueToPixel(1, time, 42.0);
    ASSERT_TRUE(view.BandRect(1)->rect().contains(pixel.toPoint()));
    const ChartView::ChartPosition back = view.PixelToValue(pixel);
    EXPECT_EQ(back.Axis, 1);
    EXPECT_NEAR((back.X - time) * core::kSecondsPerDay, 0.0, 0.5);
    EXPECT_NEAR(back.Y, 42.0, 0.5);
    EXPECT_TRUE(view.PlottingRect().contains(view.BandRect(0)->rect()));
    EXPECT_TRUE(view.PlottingRect().contains(view.BandRect(1)->rect()));
}

TEST_F(ChartViewTest, DraggedRectangleZoomsItsBandAndEveryTimeAxisUntilUndone) {
    QSignalSpy zoomed(&view, &ChartView::zoomedIn);
    const QRect top = view.BandRect(0)->rect();
    const QCPRange fullX = XRange(0);
    const QCPRange bottomY = YRange(1);

    EXPECT_FALSE(view.ZoomToRect(QRect(top.center(), QSize(2, 2))));
    EXPECT_EQ(zoomed.count(), 0);

    const QPoint from = top.topLeft() + QPoint(top.width() / 4, top.height() / 4);
    const QPoint to = top.center();
    QMouseEvent press(QEvent::MouseButtonPress, from, view.mapToGlobal(from), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, to, view.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, to, view.mapToGlobal(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &press);
    QApplication::sendEvent(&view, &move);
    QApplication::sendEvent(&view, &release);

    ASSERT_EQ(zoomed.count(), 1);
    EXPECT_LT(XRange(0).size(), fullX.size() / 3);
    EXPECT_EQ(XRange(0), XRange(1));
    EXPECT_LT(YRange(0).size(), 70.0);
    EXPECT_EQ(YRange(1), bottomY);

    // A redraw (a real-time point, a cursor) keeps the zoom.
    chart.Redraw();
    view.Flush();
    EXPECT_TRUE(view.IsZoomed());
    EXPECT_LT(XRange(1).size(), fullX.size() / 3);

    chart.PEactions(core::ChartAction::sgUndoZoom);
    EXPECT_FALSE(view.IsZoomed());
    EXPECT_EQ(XRange(0), fullX);
    EXPECT_EQ(YRange(0), QCPRange(-20, 100));
}

TEST_F(ChartViewTest, ClicksReportDataPointsAndDoubleClicksAnnotations) {
    QSignalSpy points(&view, &ChartView::dataHotSpot);
    QSignalSpy annotations(&view, &ChartView::graphAnnotHotSpot);
    QSignalSpy clicks(&view, &ChartView::chartClick);

    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, PixelOf(1, 5) + QPoint(2, 1));
    ASSERT_EQ(points.count(), 1);
    EXPECT_EQ(points.at(0), (QList<QVariant>{false, 1, 5}));
    EXPECT_EQ(clicks.count(), 1);

    // Far from any point.
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier,
                      view.BandRect(0)->rect().bottomLeft() + QPoint(3, -3));
    EXPECT_EQ(points.count(), 1);

    core::GraphAnnotation cross;
    cross.Type = core::kAnnotationCross;
    cross.X = kStart + 7 * core::kOneSecond;
    cross.Y = 0.0;
    cross.Axis = 1;
    *chart.Annotations().EditGraphAnnotation(4) = cross;
    chart.Redraw();
    view.Flush();
    const QPoint at = view.ValueToPixel(1, cross.X, cross.Y).toPoint();
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(annotations.count(), 0) << "only where annotation hot spots are allowed";

    chart.Settings().AllowGraphAnnotHotSpots = true;
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_FALSE(annotations.isEmpty());
    EXPECT_EQ(annotations.last(), (QList<QVariant>{true, 4}));
}

TEST_F(ChartViewTest, PointerCodesAndACustomPointer) {
    EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
    chart.Settings().ArrowCursor = 2;
    chart.Redraw();
    view.Flush();
    EXPECT_EQ(view.cursor().shape(), Qt::IBeamCursor);
    view.SetCustomPointer(QCursor(Qt::PointingHandCursor));
    chart.Redraw();
    view.Flush();
    EXPECT_EQ(view.cursor().shape(), Qt::PointingHandCursor);
    view.ClearCustomPointer();
    EXPECT_EQ(view.cursor().shape(), Qt::IBeamCursor);
}

TEST_F(ChartViewTest, CustomizeEditsTheChartThroughItsOwnDialog) {
    kr820::testing::FakePrompter prompter;
    view.SetPrompter(&prompter);
    bool axisPageShown = true;
    prompter.onDialog = [&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("edtMainTitle")->setText("Oven run");
        axisPageShown = dialog.findChild<QTabWidget*>()->count() == 5;
        return int(QDialog::Rejected);
    };
    chart.PEactions(core::ChartAction::sgCustomize);
    EXPECT_EQ(prompter.dialogsShown, 1);
    EXPECT_EQ(chart.Settings().MainTitle, "");
    EXPECT_FALSE(axisPageShown) << "the program's charts leave out the axis page";

    const auto accept = prompter.onDialog;
    prompter.onDialog = [&](QDialog& dialog) {
        accept(dialog);
        return int(QDialog::Accepted);
    };
    chart.PEactions(core::ChartAction::sgCustomize);
    EXPECT_EQ(chart.Settings().MainTitle, "Oven run");
    EXPECT_EQ(chart.Settings().SubsetLabels.At(1), "T2");

    chart.Settings().AllowCustomization = false;
    chart.PEactions(core::ChartAction::sgCustomize);
    EXPECT_EQ(prompter.dialogsShown, 2);
}

}  // namespace
}  // namespace kr820::graph
