// SPDX-License-Identifier: MIT
// The graph windows' tools: the shared pointer tool and annotations, split, zoom, the settings
// and Y axis dialogs, Fit and the pointer readout.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <memory>

#include "core/chart/chart_model.h"
#include "core/graph/scale_file.h"
#include "graph/chart_settings_dialog.h"
#include "graph/chart_view.h"
#include "graph/frm_anno_edit.h"
#include "graph/frm_graph.h"
#include "graph/frm_setup_scale.h"
#include "graph/graph_windows.h"
#include "graph_test_support.h"

namespace kr820::graph {
namespace {

using Answer = ui::Prompter::Answer;

class GraphToolsTest : public ::testing::Test {
protected:
    std::unique_ptr<TfrmGraph> DataLoggerWindow() {
        std::unique_ptr<TfrmGraph> window(CreateDataLoggerWindow(harness.Context(folder.path())));
        window->resize(1000, 700);
        window->show();
        window->ShowMemoryImage(testing::TwoSetImage());
        window->View().Flush();
        return window;
    }

    std::unique_ptr<TfrmGraph> RealTimeWindow() {
        std::unique_ptr<TfrmGraph> window(CreateRealTimeGraph(harness.Context(folder.path())));
        window->resize(1000, 700);
        window->show();
        testing::FillChart(window->Chart().Data(), {21.0f, 22.0f, 23.0f}, {30.0f, 31.0f, 32.0f}, 2);
        // The time range a recording of these points would have.
        core::ChartAxes& axes = window->Chart().Axes();
        const core::TDateTime start = testing::At(2024, 5, 17, 10, 0, 0);
        axes.SetManualScaleControlX(core::ManualScale::sgManualMinAndMax);
        axes.SetManualMinX(start - 2 * core::kOneSecond);
        axes.SetManualMaxX(start + 10 * core::kOneSecond);
        window->Chart().Redraw();
        window->View().Flush();
        return window;
    }

    static void Send(TfrmGraph& window, QEvent::Type type, QPoint at) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        ChartView& view = window.View();
        view.Flush();  // the mouse meets the picture the user sees
        QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    }

    static void Click(TfrmGraph& window, QPoint at) {
        Send(window, QEvent::MouseButtonPress, at);
        Send(window, QEvent::MouseButtonRelease, at);
        window.View().Flush();
    }

    static void DoubleClick(TfrmGraph& window, QPoint at) {
        Click(window, at);
        Send(window, QEvent::MouseButtonDblClick, at);
        Send(window, QEvent::MouseButtonRelease, at);
        window.View().Flush();
    }

    static QRect Plot(TfrmGraph& window) { return window.View().Drawing().PlottingRect(); }

    // Annotations that show: a cross, or a text that is not empty, inside the shown time range.
    static int VisibleAnnotations(TfrmGraph& window) {
        const core::ChartAxes& axes = window.Chart().Axes();
        int shown = 0;
        for (const core::GraphAnnotation& a : window.Chart().Annotations().GraphAnnotations()) {
            const bool drawn = a.Type == core::kAnnotationCross || !a.Text.isEmpty();
            if (drawn && a.X >= axes.ManualMinX() && a.X <= axes.ManualMaxX()) ++shown;
        }
        return shown;
    }

    void AnswerAnnotationText(const QString& text) {
        harness.prompter.onDialog = [text](QDialog& dialog) {
            auto* edit = qobject_cast<TfrmAnnoEdit*>(&dialog);
            if (!edit) return int(QDialog::Rejected);
            edit->TextBox()->setText(text);
            return int(QDialog::Accepted);
        };
    }

    using Bounds = std::array<double, 4>;
    static Bounds YBounds(TfrmGraph& window) {
        const core::ChartAxes& axes = window.Chart().Axes();
        return {axes.Axis(0).ManualMinY, axes.Axis(0).ManualMaxY, axes.Axis(1).ManualMinY,
                axes.Axis(1).ManualMaxY};
    }

    // Fills the Y axis dialog's boxes (T1 MIN, T1 MAX, T2 MIN, T2 MAX) and presses OK.
    void AnswerScale(const std::array<QString, 4>& texts, bool save) {
        harness.prompter.onDialog = [texts, save](QDialog& dialog) {
            const char* boxes[] = {"edtT1Min", "edtT1Max", "edtT2Min", "edtT2Max"};
            for (int i = 0; i < 4; ++i) dialog.findChild<QLineEdit*>(boxes[i])->setText(texts[i]);
            dialog.findChild<QCheckBox*>("chkSave")->setChecked(save);
            return int(QDialog::Accepted);
        };
    }

    QTemporaryDir folder;
    testing::GraphHarness harness;
};

TEST_F(GraphToolsTest, TheToolChosenInOneWindowDecidesWhatAClickDoesInAnother) {
    auto dataLogger = DataLoggerWindow();
    auto realTime = RealTimeWindow();
    realTime->findChild<QCheckBox*>("chkSplit")->click();  // joined: the tools are usable
    dataLogger->findChild<QCheckBox*>("chkSplit")->click();
    ASSERT_TRUE(realTime->findChild<QToolButton*>("textTool")->isEnabled());

    // Normal: a click reads, it places nothing.
    Click(*dataLogger, Plot(*dataLogger).center());
    EXPECT_EQ(harness.tools.LastAnnotationIndex, 3);

    realTime->findChild<QToolButton*>("textTool")->click();
    EXPECT_EQ(harness.tools.CursorMode, GraphCursorMode::Text);
    AnswerAnnotationText("");  // an empty text is a text all the same
    Click(*dataLogger, Plot(*dataLogger).center());
    ASSERT_EQ(harness.tools.LastAnnotationIndex, 4);
    const core::GraphAnnotation text = dataLogger->Chart().Annotations().GraphAnnotationAt(4);
    EXPECT_EQ(text.Type, core::kAnnotationText);
    EXPECT_EQ(text.Color, 0xFFFFFFu);

    // Cancel places nothing and keeps the index.
    harness.prompter.onDialog = [](QDialog&) { return int(QDialog::Rejected); };
    Click(*dataLogger, Plot(*dataLogger).center());
    EXPECT_EQ(harness.tools.LastAnnotationIndex, 4);

    // The cross lands 15 pixels right of and below the pointer; the text 1 right and 7 below.
    dataLogger->findChild<QToolButton*>("crossTool")->click();
    const QPoint pointer = Plot(*realTime).center();
    Click(*realTime, pointer);
    ASSERT_EQ(harness.tools.LastAnnotationIndex, 5);
    const core::GraphAnnotation cross = realTime->Chart().Annotations().GraphAnnotationAt(5);
    EXPECT_EQ(cross.Type, core::kAnnotationCross);
    const QPointF drawnAt = realTime->View().Drawing().ValueToPixel(cross.Axis, cross.X, cross.Y);
    EXPECT_NEAR(drawnAt.x(), pointer.x() + 15, 1.0);
    EXPECT_NEAR(drawnAt.y(), pointer.y() + 15, 1.0);

    // A mark that would fall off the plot is not placed.
    Click(*realTime, Plot(*realTime).bottomRight() - QPoint(5, 5));
    EXPECT_EQ(harness.tools.LastAnnotationIndex, 5);

    // Showing any graph window puts every window back to reading values.
    dataLogger->hide();
    dataLogger->show();
    EXPECT_EQ(harness.tools.CursorMode, GraphCursorMode::Normal);
    EXPECT_TRUE(dataLogger->findChild<QToolButton*>("normalTool")->isChecked());
    Click(*realTime, pointer);
    EXPECT_EQ(harness.tools.LastAnnotationIndex, 5);
}

TEST_F(GraphToolsTest, SplitTakesTheAnnotationToolsAwayAndJoinedGivesThemBack) {
    auto window = DataLoggerWindow();
    auto* split = window->findChild<QCheckBox*>("chkSplit");
    auto* cross = window->findChild<QToolButton*>("crossTool");
    auto* text = window->findChild<QToolButton*>("textTool");
    ASSERT_TRUE(split->isChecked());
    EXPECT_FALSE(cross->isEnabled());

    split->click();
    window->View().Flush();
    EXPECT_FALSE(window->Chart().Axes().IsSplit());
    EXPECT_EQ(window->View().Drawing().BandCount(), 1);
    EXPECT_TRUE(cross->isEnabled() && text->isEnabled());
    cross->click();
    ASSERT_EQ(harness.tools.CursorMode, GraphCursorMode::Cross);

    split->click();
    window->View().Flush();
    EXPECT_EQ(window->View().Drawing().BandCount(), 2);
    EXPECT_FALSE(cross->isEnabled() || text->isEnabled());
    EXPECT_EQ(harness.tools.CursorMode, GraphCursorMode::Normal);
    EXPECT_TRUE(window->findChild<QToolButton*>("normalTool")->isChecked());
    Click(*window, Plot(*window).center());
    EXPECT_EQ(harness.tools.LastAnnotationIndex, 3);
}

TEST_F(GraphToolsTest, ClearHidesEveryAnnotationAndTheNextOneTakesIndexFourAgain) {
    auto window = RealTimeWindow();
    window->findChild<QCheckBox*>("chkSplit")->click();
    window->findChild<QToolButton*>("crossTool")->click();
    const QPoint inside = Plot(*window).center() - QPoint(40, 40);
    Click(*window, inside);
    Click(*window, inside + QPoint(20, 0));
    ASSERT_EQ(harness.tools.LastAnnotationIndex, 5);
    ASSERT_EQ(VisibleAnnotations(*window), 2);

    harness.prompter.confirmAnswer = Answer::No;  // "Save Real-Time Graph ?"
    window->tbntClrClick();
    EXPECT_EQ(VisibleAnnotations(*window), 0);
    EXPECT_EQ(harness.tools.LastAnnotationIndex, 3);

    // The chart is empty now; its time range still takes a mark.
    window->findChild<QToolButton*>("crossTool")->click();
    Click(*window, inside);
    EXPECT_EQ(harness.tools.LastAnnotationIndex, 4);
}

TEST_F(GraphToolsTest, ClearAnsweredYesKeepsEverythingWhenNoFileWasWritten) {
    auto window = RealTimeWindow();
    harness.state.RealTimeUnsaved = true;
    harness.prompter.confirmAnswer = Answer::Yes;
    harness.saveSucceeds = false;
    window->tbntClrClick();
    EXPECT_EQ(harness.singleSetSaves, 1);
    EXPECT_EQ(window->Chart().Data().YData(0, 1), 22.0f);
    EXPECT_EQ(harness.pointsGivenUp, 0);

    harness.saveSucceeds = true;
    window->tbntClrClick();
    EXPECT_EQ(window->Chart().Data().YData(0, 1), 9999.0f);
    EXPECT_EQ(harness.pointsGivenUp, 1) << "the recorder gives the points up";
}

TEST_F(GraphToolsTest, ClearDiscardsOnlyOnNoAndEscapeOrClosingTheBoxKeepsEverything) {
    auto window = RealTimeWindow();
    harness.state.RealTimeUnsaved = true;
    harness.prompter.confirmAnswer = Answer::Cancel;  // what Escape and the box's close give
    window->tbntClrClick();
    EXPECT_EQ(harness.prompter.questions, QStringList{"Save Real-Time Graph ?"});
    EXPECT_EQ(harness.singleSetSaves, 0);
    EXPECT_EQ(window->Chart().Data().YData(0, 1), 22.0f);
    EXPECT_EQ(harness.pointsGivenUp, 0);

    harness.prompter.confirmAnswer = Answer::No;
    window->tbntClrClick();
    EXPECT_EQ(window->Chart().Data().YData(0, 1), 9999.0f);
    EXPECT_EQ(harness.pointsGivenUp, 1) << "the recorder gives the points up";
}

TEST_F(GraphToolsTest, ADoubleClickDeletesAnAnnotationOnlyInTheDataLoggerWindow) {
    for (const bool dataLogger : {false, true}) {
        SCOPED_TRACE(dataLogger ? "DataLogger" : "Real-Time Graph");
        harness.tools.LastAnnotationIndex = 3;
        auto window = dataLogger ? DataLoggerWindow() : RealTimeWindow();
        window->findChild<QCheckBox*>("chkSplit")->click();
        window->findChild<QToolButton*>("crossTool")->click();
        const QPoint pointer = Plot(*window).center() - QPoint(60, 30);
        Click(*window, pointer);
        ASSERT_EQ(VisibleAnnotations(*window), 1);

        window->findChild<QToolButton*>("normalTool")->click();
        DoubleClick(*window, pointer + QPoint(15, 15));
        EXPECT_EQ(VisibleAnnotations(*window), dataLogger ? 0 : 1);
    }
}

TEST_F(GraphToolsTest, ZoomEnablesUndoZoomWhichShowsTheWholeChartAgain) {
    auto window = DataLoggerWindow();
    auto* undo = window->findChild<QPushButton*>("UndoZoom");
    ASSERT_FALSE(undo->isEnabled());
    const QRect plot = Plot(*window);
    // Dragged from the lower right to the upper left: either direction zooms.
    const QPoint from = plot.center() + QPoint(30, 20);
    Send(*window, QEvent::MouseButtonPress, from);
    Send(*window, QEvent::MouseMove, plot.center() - QPoint(80, 40));
    Send(*window, QEvent::MouseButtonRelease, plot.center() - QPoint(80, 40));
    EXPECT_TRUE(window->View().Interaction().IsZoomed());
    EXPECT_TRUE(undo->isEnabled());

    undo->click();
    EXPECT_FALSE(window->View().Interaction().IsZoomed());
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(GraphToolsTest, ThePointerIsReadOnlyOverThePlot) {
    auto window = DataLoggerWindow();
    const QRect plot = Plot(*window);
    Send(*window, QEvent::MouseMove, plot.topLeft());
    const QString onEdge = window->ReadoutText();
    EXPECT_TRUE(onEdge.contains('@')) << onEdge.toStdString();
    const ChartPosition at = window->View().Drawing().PixelToValue(plot.topLeft());
    EXPECT_TRUE(onEdge.startsWith(QString::number(at.Y, 'f', 1) + '@')) << onEdge.toStdString();

    Send(*window, QEvent::MouseMove, plot.topLeft() - QPoint(3, 3));
    EXPECT_EQ(window->ReadoutText(), onEdge);
}

TEST_F(GraphToolsTest, GraphOptionGivesEveryAxisTheRangeOfAxisZero) {
    auto window = DataLoggerWindow();
    const core::ChartAxes& axes = window->Chart().Axes();
    const double minX = axes.ManualMinX();
    harness.prompter.onDialog = [](QDialog& dialog) {
        if (!qobject_cast<ChartSettingsDialog*>(&dialog)) return int(QDialog::Rejected);
        dialog.findChild<QDoubleSpinBox*>("edtYMinimum")->setValue(-40);
        dialog.findChild<QDoubleSpinBox*>("edtYMaximum")->setValue(60);
        return int(QDialog::Accepted);
    };
    window->findChild<QPushButton*>("graphOptionButton")->click();
    EXPECT_EQ(YBounds(*window), (Bounds{-40, 60, -40, 60}));
    EXPECT_EQ(axes.ManualMinX(), minX);
    EXPECT_EQ(axes.WorkingAxis(), 0);
}

TEST_F(GraphToolsTest, YAxisNamesTheLastBadBoxAndChangesNothing) {
    auto window = DataLoggerWindow();
    const Bounds before = YBounds(*window);
    AnswerScale({"abc", "50", "0", "x"}, true);
    window->findChild<QPushButton*>("btnChangeScale")->click();
    EXPECT_EQ(harness.prompter.messages, QStringList{"abc is invalid."});
    EXPECT_EQ(YBounds(*window), before);
    EXPECT_FALSE(QFile::exists(folder.filePath("ini/KR820.ini")));
}

TEST_F(GraphToolsTest, YAxisAppliesTheBoundsAsEnteredAndKeepsThemForLaterGraphs) {
    auto window = DataLoggerWindow();
    AnswerScale({"-10", "80", " 5", "95"}, true);
    window->findChild<QPushButton*>("btnChangeScale")->click();
    EXPECT_TRUE(harness.prompter.messages.isEmpty());
    EXPECT_EQ(YBounds(*window), (Bounds{-10, 80, 5, 95}));

    QFile saved(folder.filePath("ini/KR820.ini"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("[SCALE]\n-10\n80\n5\n95\n"));  // the numbers read

    // The dialog opens on the chart's bounds, cut to whole numbers.
    window->Chart().Axes().SetWorkingAxis(1);
    window->Chart().Axes().SetManualMaxY(-3.7);
    window->Chart().Axes().SetWorkingAxis(0);
    QString shownT2Max;
    harness.prompter.onDialog = [&shownT2Max](QDialog& dialog) {
        shownT2Max = dialog.findChild<QLineEdit*>("edtT2Max")->text();
        return int(QDialog::Rejected);
    };
    window->findChild<QPushButton*>("btnChangeScale")->click();
    EXPECT_EQ(shownT2Max, "-3");

    auto later = DataLoggerWindow();
    EXPECT_EQ(YBounds(*later), (Bounds{-10, 80, 5, 95}));
}

TEST_F(GraphToolsTest, YAxisStaysOpenWithWhatWasTypedUntilTheBoxesAreMended) {
    auto window = DataLoggerWindow();
    QStringList typed;
    harness.prompter.onDialog = [this, &typed](QDialog& dialog) {
        dialog.show();
        auto* t1Min = dialog.findChild<QLineEdit*>("edtT1Min");
        auto* t2Max = dialog.findChild<QLineEdit*>("edtT2Max");
        auto* ok = dialog.findChild<QPushButton*>("btnOK");
        dialog.findChild<QLineEdit*>("edtT1Max")->setText("50");
        dialog.findChild<QLineEdit*>("edtT2Min")->setText("0");
        t1Min->setText("abc");
        t2Max->setText("95");
        t2Max->setFocus();
        ok->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), t1Min);
        typed << t1Min->text() << t2Max->text();
        // A minimum above its maximum is told, not swapped.
        t1Min->setText("80");
        t2Max->setFocus();
        ok->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), t1Min);
        t1Min->setText("-10");
        ok->click();
        EXPECT_EQ(harness.prompter.messages,
                  (QStringList{"abc is invalid.", "T1 MIN 80 is above T1 MAX 50."}));
        return dialog.result();
    };
    window->findChild<QPushButton*>("btnChangeScale")->click();
    EXPECT_EQ(typed, (QStringList{"abc", "95"}));
    EXPECT_EQ(YBounds(*window), (Bounds{-10, 50, 0, 95}));
}

TEST_F(GraphToolsTest, JoinedTheSharedAxisIsLabelledForBothChannels) {
    auto window = DataLoggerWindow();
    auto* split = window->findChild<QCheckBox*>("chkSplit");
    ASSERT_TRUE(split->isChecked());
    split->click();
    window->View().Flush();
    QCustomPlot& plot = window->View();
    ASSERT_GE(plot.axisRectCount(), 1);
    EXPECT_EQ(plot.axisRect(0)->axis(QCPAxis::atLeft)->label(), "T1, T2");
    split->click();
    window->View().Flush();
    EXPECT_EQ(plot.axisRect(0)->axis(QCPAxis::atLeft)->label(), "T1");
}

TEST_F(GraphToolsTest, TheScaleFileKeepsWhatWasUnderstoodNotWhatWasTyped) {
    auto window = DataLoggerWindow();
    // Both are 7; typed as they stand they would run past what reading a line takes.
    AnswerScale({QString(90, '0') + "7", QString(128, ' ') + "7", "-0", "+12"}, true);
    window->findChild<QPushButton*>("btnChangeScale")->click();
    EXPECT_TRUE(harness.prompter.messages.isEmpty());
    EXPECT_EQ(YBounds(*window), (Bounds{7, 7, 0, 12}));
    EXPECT_EQ(core::ReadScaleFile(folder.filePath("ini/KR820.ini")),
              (core::ScaleBounds{7.0, 7.0, 0.0, 12.0}));
}

TEST_F(GraphToolsTest, AScaleFolderThatCannotBeMadeIsReportedAfterTheChartChanged) {
    // A file where the folder should be.
    QFile blocker(folder.filePath("ini"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto window = DataLoggerWindow();
    AnswerScale({"0", "50", "0", "60"}, true);
    window->findChild<QPushButton*>("btnChangeScale")->click();
    EXPECT_EQ(YBounds(*window), (Bounds{0, 50, 0, 60}));
    EXPECT_EQ(harness.prompter.messages,
              QStringList{"Cannot create " + folder.filePath("ini") + "/ directory."});
}

TEST_F(GraphToolsTest, FitShowsACurveFarFromTheDefaultScaleWithoutItsOutOfRangeSamples) {
    auto window = RealTimeWindow();
    testing::FillChart(window->Chart().Data(), {65.0f, 67.5f, 9999.0f}, {70.0f, -9999.0f, 71.0f},
                       2);
    auto* undo = window->findChild<QPushButton*>("UndoZoom");
    window->View().Interaction().ZoomToRect(Plot(*window).adjusted(20, 20, -20, -20));
    ASSERT_TRUE(window->View().Interaction().IsZoomed());
    window->findChild<QPushButton*>("fitButton")->click();
    EXPECT_EQ(YBounds(*window), (Bounds{64, 69, 69, 72}));  // split: each its own curve
    EXPECT_FALSE(window->View().Interaction().IsZoomed());
    EXPECT_FALSE(undo->isEnabled());

    window->findChild<QCheckBox*>("chkSplit")->click();
    window->findChild<QPushButton*>("fitButton")->click();
    EXPECT_EQ(YBounds(*window), (Bounds{64, 72, 64, 72}));  // joined: one axis for both
}

TEST_F(GraphToolsTest, TheStatisticsButtonsShowAndHideTheirPanels) {
    auto window = DataLoggerWindow();
    auto* upper = window->findChild<QWidget*>("pnlGraphStatistic");
    auto* lower = window->findChild<QWidget*>("pnlStatistic");
    window->findChild<QToolButton*>("upperStatisticsButton")->click();
    EXPECT_FALSE(upper->isVisible());
    EXPECT_EQ(window->findChild<QWidget*>("readoutPanel")->pos(), window->View().pos());
    window->findChild<QToolButton*>("lowerStatisticsButton")->click();
    EXPECT_FALSE(lower->isVisible());
    window->findChild<QToolButton*>("upperStatisticsButton")->click();
    EXPECT_TRUE(upper->isVisible());
}

}  // namespace
}  // namespace kr820::graph
