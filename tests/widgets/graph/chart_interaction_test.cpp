// SPDX-License-Identifier: MIT
// What the mouse does to a drawn chart, and the chart's own settings dialog.
#include "graph/chart_interaction.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include "chart_view_fixture.h"

namespace kr820::graph {
namespace {

using testing::kStart;
using ChartInteractionTest = testing::ChartViewTest;

TEST_F(ChartInteractionTest, DraggedRectangleZoomsItsBandAndEveryTimeAxisUntilUndone) {
    QSignalSpy zoomed(&view.Interaction(), &ChartInteraction::zoomedIn);
    const QRect top = Drawing().BandRect(0)->rect();
    const QCPRange fullX = XRange(0);
    const QCPRange bottomY = YRange(1);

    EXPECT_FALSE(view.Interaction().ZoomToRect(QRect(top.center(), QSize(2, 2))));
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
    EXPECT_TRUE(view.Interaction().IsZoomed());
    EXPECT_LT(XRange(1).size(), fullX.size() / 3);

    chart.PEactions(core::ChartAction::sgUndoZoom);
    EXPECT_FALSE(view.Interaction().IsZoomed());
    EXPECT_EQ(XRange(0), fullX);
    EXPECT_EQ(YRange(0), QCPRange(-20, 100));
}

TEST_F(ChartInteractionTest, TheWheelScrollsOnlyAZoomedChartByATenthOfItsRange) {
    const QRect top = Drawing().BandRect(0)->rect();
    const QPoint inside = top.center();
    const auto turn = [&](Qt::KeyboardModifiers modifiers) {
        QWheelEvent notch(inside, view.mapToGlobal(inside), QPoint(), QPoint(0, 120), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &notch);
    };
    const QCPRange fullX = XRange(0);
    turn(Qt::NoModifier);
    EXPECT_EQ(XRange(0), fullX);

    ASSERT_TRUE(
        view.Interaction().ZoomToRect(QRect(top.topLeft() + QPoint(20, 20), QSize(200, 80))));
    const QCPRange x = XRange(0);
    const QCPRange y = YRange(0);
    const QCPRange bottomY = YRange(1);
    // A notch away from the user goes back in time, in every band.
    turn(Qt::NoModifier);
    EXPECT_NEAR(XRange(0).lower, x.lower - x.size() / 10, x.size() * 1e-6);
    EXPECT_EQ(XRange(1), XRange(0));
    EXPECT_EQ(YRange(0), y);
    // With Shift the band under the pointer moves up; the other band was never zoomed up and down.
    turn(Qt::ShiftModifier);
    EXPECT_NEAR(YRange(0).lower, y.lower + y.size() / 10, y.size() * 1e-6);
    EXPECT_EQ(YRange(1), bottomY);
}

TEST_F(ChartInteractionTest, ClicksReportDataPointsAndDoubleClicksAnnotations) {
    QSignalSpy points(&view.Interaction(), &ChartInteraction::dataHotSpot);
    QSignalSpy annotations(&view.Interaction(), &ChartInteraction::graphAnnotHotSpot);
    QSignalSpy clicks(&view.Interaction(), &ChartInteraction::chartClick);

    // A hand that misses the point by a few pixels still hits it, in either band.
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, PixelOf(1, 5) + QPoint(5, 4));
    ASSERT_EQ(points.count(), 1);
    EXPECT_EQ(points.at(0), (QList<QVariant>{false, 1, 5}));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, PixelOf(0, 12) + QPoint(-6, -3));
    ASSERT_EQ(points.count(), 2);
    EXPECT_EQ(points.at(1), (QList<QVariant>{false, 0, 12}));

    // Far from any point.
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier,
                      Drawing().BandRect(0)->rect().bottomLeft() + QPoint(3, -3));
    EXPECT_EQ(points.count(), 2);

    core::GraphAnnotation cross;
    cross.Type = core::kAnnotationCross;
    cross.X = kStart + 7 * core::kOneSecond;
    cross.Y = 0.0;
    cross.Axis = 1;
    *chart.Annotations().EditGraphAnnotation(4) = cross;
    chart.Redraw();
    view.Flush();
    const QPoint at = Drawing().ValueToPixel(1, cross.X, cross.Y).toPoint();
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(annotations.count(), 0) << "only where annotation hot spots are allowed";

    chart.Settings().AllowGraphAnnotHotSpots = true;
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_FALSE(annotations.isEmpty());
    EXPECT_EQ(annotations.last(), (QList<QVariant>{true, 4}));
}

TEST_F(ChartInteractionTest, PointerCodesAndACustomPointer) {
    EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
    chart.Settings().ArrowCursor = 2;
    chart.Redraw();
    view.Flush();
    EXPECT_EQ(view.cursor().shape(), Qt::IBeamCursor);
    view.Interaction().SetCustomPointer(QCursor(Qt::PointingHandCursor));
    chart.Redraw();
    view.Flush();
    EXPECT_EQ(view.cursor().shape(), Qt::PointingHandCursor);
    view.Interaction().ClearCustomPointer();
    EXPECT_EQ(view.cursor().shape(), Qt::IBeamCursor);
}

TEST_F(ChartInteractionTest, CustomizeEditsTheChartThroughItsOwnDialog) {
    kr820::testing::FakePrompter prompter;
    view.Interaction().SetPrompter(&prompter);
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
