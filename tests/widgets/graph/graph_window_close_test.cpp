// SPDX-License-Identifier: MIT
// Closing a graph window in each role, and the real-time window's set-up.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>
#include <vector>

#include "graph/frm_graph.h"
#include "graph/graph_windows.h"
#include "graph_test_support.h"

namespace kr820::graph {
namespace {

using Answer = ui::Prompter::Answer;

class GraphWindowCloseTest : public ::testing::Test {
protected:
    // A closed window deletes itself from the event loop, which these tests do not run.
    TfrmGraph* Open(GraphRole role, const QString& caption) {
        auto* window = new TfrmGraph(role, caption, harness.Context());
        window->show();
        m_windows.emplace_back(window);
        return window;
    }
    // The DataLogger or the real-time window, captioned as the program captions them.
    TfrmGraph* Open(GraphRole role) {
        return Open(role, role == GraphRole::DataLogger ? TfrmGraph::kDataLoggerCaption
                                                        : TfrmGraph::kRealTimeCaption);
    }
    ~GraphWindowCloseTest() override {
        for (const QPointer<TfrmGraph>& window : m_windows) delete window;
    }

    testing::GraphHarness harness;

private:
    std::vector<QPointer<TfrmGraph>> m_windows;
};

TEST_F(GraphWindowCloseTest, UnsavedDataLoggerDataAsksFirst) {
    harness.MarkDataLoggerUnsaved();
    harness.prompter.confirmAnswer = Answer::Cancel;
    TfrmGraph* window = Open(GraphRole::DataLogger);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(harness.prompter.questions, QStringList{"Save DataLogger Data ?"});
    EXPECT_TRUE(harness.document.Unsaved());
    EXPECT_EQ(harness.saves, 0);
    EXPECT_EQ(harness.forgotten, 0);

    // Yes, then the save dialog cancelled: the data stays, and so does the window.
    harness.prompter.confirmAnswer = Answer::Yes;
    harness.saveSucceeds = false;
    EXPECT_FALSE(window->close());
    EXPECT_EQ(harness.saves, 1);
    EXPECT_TRUE(harness.document.Unsaved());

    harness.saveSucceeds = true;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(harness.saves, 2);
    EXPECT_FALSE(harness.document.Unsaved());
    EXPECT_EQ(harness.forgotten, 1);
}

TEST_F(GraphWindowCloseTest, SavingTheSelectedSetInsteadOfTheCollectionAlsoCloses) {
    harness.MarkDataLoggerUnsaved();
    harness.prompter.confirmAnswer = Answer::Yes;
    harness.savesCollection = false;
    TfrmGraph* window = Open(GraphRole::DataLogger);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(harness.saves, 1);
    EXPECT_EQ(harness.prompter.questions, QStringList{"Save DataLogger Data ?"});
    EXPECT_EQ(harness.forgotten, 1);
}

TEST_F(GraphWindowCloseTest, AnsweringNoClosesWithoutSaving) {
    harness.MarkDataLoggerUnsaved();
    harness.prompter.confirmAnswer = Answer::No;
    EXPECT_TRUE(Open(GraphRole::DataLogger)->close());
    EXPECT_EQ(harness.saves, 0);
    EXPECT_FALSE(harness.document.Unsaved());
}

TEST_F(GraphWindowCloseTest, UnsavedRealTimeGraphAsksAndSavesTheWindowsChart) {
    harness.state.RealTimeUnsaved = true;
    harness.prompter.confirmAnswer = Answer::Cancel;
    TfrmGraph* window = Open(GraphRole::RealTime);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(harness.state.RealTimeUnsaved);

    harness.prompter.confirmAnswer = Answer::No;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(harness.prompter.questions,
              (QStringList{"Save Real-Time Graph ?", "Save Real-Time Graph ?"}));
    EXPECT_EQ(harness.realTimeClosings, 1) << "the recorder gives the points up";
    EXPECT_EQ(harness.singleSetSaves, 0);

    harness.state.RealTimeUnsaved = true;
    harness.prompter.confirmAnswer = Answer::Yes;
    harness.saveSucceeds = false;
    TfrmGraph* unsaved = Open(GraphRole::RealTime);
    EXPECT_FALSE(unsaved->close()) << "a save that wrote nothing keeps the window";
    EXPECT_TRUE(harness.state.RealTimeUnsaved);
    harness.saveSucceeds = true;
    EXPECT_TRUE(unsaved->close());
    EXPECT_EQ(harness.singleSetSaves, 2);
    EXPECT_FALSE(harness.state.RealTimeUnsaved);
}

TEST_F(GraphWindowCloseTest, EachRoleAsksOnlyAboutItsOwnData) {
    harness.state.RealTimeUnsaved = true;
    harness.MarkDataLoggerUnsaved();
    EXPECT_TRUE(Open(GraphRole::File, "/data/oven.txt")->close());
    // A file may be named like a role's caption; its window stays a file window.
    EXPECT_TRUE(Open(GraphRole::File, TfrmGraph::kDataLoggerCaption)->close());
    EXPECT_TRUE(Open(GraphRole::File, TfrmGraph::kRealTimeCaption)->close());
    EXPECT_TRUE(harness.prompter.questions.isEmpty());
    // Only the DataLogger window's own closing forgets its unsaved download.
    EXPECT_TRUE(harness.document.Unsaved());
    EXPECT_TRUE(harness.state.RealTimeUnsaved);
    EXPECT_EQ(harness.forgotten, 0);
}

TEST_F(GraphWindowCloseTest, ClosingTheRealTimeWindowLeavesTheRecordingToTheRecorder) {
    harness.state.RealTimeRecording = true;
    harness.state.RealTimePointCount = 37;
    harness.state.RealTimeUnsaved = true;
    harness.state.Connected = true;
    harness.prompter.confirmAnswer = ui::Prompter::Answer::No;
    EXPECT_TRUE(Open(GraphRole::RealTime)->close());
    EXPECT_EQ(harness.realTimeClosings, 1);
    EXPECT_EQ(harness.ticked, std::vector<bool>{false});
    EXPECT_EQ(harness.forgotten, 1);
    // The window writes none of the recording's state: the recorder, asked above, does.
    EXPECT_TRUE(harness.state.RealTimeRecording);
    EXPECT_EQ(harness.state.RealTimePointCount, 37);
    EXPECT_TRUE(harness.state.RealTimeUnsaved);

    // Other roles end no recording.
    EXPECT_TRUE(Open(GraphRole::File, "/data/oven.txt")->close());
    EXPECT_EQ(harness.realTimeClosings, 1);
}

TEST(RealTimeGraphSetUpTest, ListOnlyClearShownRateBackToTwoSeconds) {
    testing::GraphHarness harness;
    harness.state.RealTimeRate = 30;
    QMdiArea workspace;
    TfrmGraph* window = CreateRealTimeGraph(harness.Context());
    QMdiSubWindow* frame = AddToWorkspace(workspace, window);

    EXPECT_EQ(frame->geometry(), QRect(0, 0, 900, 600));
    EXPECT_EQ(window->windowTitle(), "Real-Time Graph");
    EXPECT_EQ(window->Role(), GraphRole::RealTime);
    EXPECT_EQ(harness.state.RealTimeRate, 2);
    EXPECT_EQ(window->findChild<QComboBox*>("txtSamplingRate")->currentText(), "00:02");
    EXPECT_TRUE(window->ToolBar().tbntClrAction->isVisible());
    EXPECT_TRUE(window->ToolBar().tbntSep3->isVisible());
    EXPECT_TRUE(window->findChild<QWidget*>("dataListView")->isVisibleTo(window));
    EXPECT_FALSE(window->findChild<QWidget*>("dataSetGrid")->isVisibleTo(window));
    EXPECT_FALSE(window->findChild<QWidget*>("lblDataSets")->isVisibleTo(window));

    const core::ChartModel& chart = window->Chart();
    EXPECT_EQ(chart.Data().Points(), 100);
    EXPECT_EQ(chart.Axes().Axis(1).ManualMinY, -10.0);
    EXPECT_EQ(chart.Axes().Axis(1).ManualMaxY, 50.0);
    EXPECT_NEAR((chart.Axes().ManualMaxX() - chart.Axes().ManualMinX()) * core::kSecondsPerDay,
                110.0, 0.01);
    EXPECT_FALSE(chart.Settings().AllowGraphAnnotHotSpots);
    EXPECT_TRUE(chart.Settings().NoRandomPointsToExport);

    // Unticking "Text List" takes the whole left panel away in this role.
    window->findChild<QCheckBox*>("chkTextList")->click();
    EXPECT_FALSE(window->findChild<QWidget*>("pnlDataSets")->isVisibleTo(window));
}

}  // namespace
}  // namespace kr820::graph
