// SPDX-License-Identifier: MIT
// Real-time recording through the main window, with the ticks driven directly and the live
// reading set by the test.
#include <gtest/gtest.h>

#include <QFile>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolButton>

#include "graph/data_list_model.h"
#include "meter/real_time_recorder.h"
#include "real_time_rig.h"

namespace kr820::meter {
namespace {

class RealTimeRecordingTest : public testing::RealTimeRig {
protected:
    void SetUp() override { StartTicking(); }
};

TEST_F(RealTimeRecordingTest, PointsComeEveryRateTicksAndTheNthStopsTheRecording) {
    AnswerSetup("5", 1);  // 00:02
    window->btnRunClick();
    EXPECT_EQ(setupPeriod, "01:06:40") << "2000 points at 2 s, as HH:MM:SS";
    ASSERT_TRUE(window->State().RealTimeRecording);
    EXPECT_EQ(window->State().RealTimeRate, 2);
    EXPECT_EQ(Data().Points(), 5);

    std::vector<int> countAfterTick;
    for (int tick = 0; tick < 12; ++tick) {
        Tick(tick != 5);  // one due tick without a fresh frame
        countAfterTick.push_back(window->State().RealTimePointCount);
    }
    // Points at ticks 2 and 4; tick 6 is due but has no frame, so 7 takes it and 9 the next.
    EXPECT_EQ(countAfterTick, (std::vector<int>{0, 1, 1, 2, 2, 2, 3, 3, 4, 4, 5, 5}));
    EXPECT_FALSE(window->State().RealTimeRecording);
    EXPECT_EQ(Data().Points(), 5);
    EXPECT_EQ(Box("txtT1Avg"), "25.000");
    EXPECT_EQ(Box("txtT2Avg"), "30.000");
    EXPECT_EQ(Box("txtDataNo"), "5");
    EXPECT_EQ(Graph()->DataList().rowCount(), 5);
    EXPECT_TRUE(window->findChild<QAction*>("Run1")->isEnabled());
    EXPECT_FALSE(window->findChild<QAction*>("Stop1")->isEnabled());
    EXPECT_TRUE(window->findChild<QAction*>("Option1")->isEnabled());
}

TEST_F(RealTimeRecordingTest, StoppingEarlyCutsTheChartToThePointsTaken) {
    AnswerSetup("2000", 0);  // 00:01
    window->btnRunClick();
    EXPECT_FALSE(window->findChild<QAction*>("Option1")->isEnabled());
    for (int tick = 0; tick < 3; ++tick) Tick();
    const core::TDateTime before = core::NowTDateTime();
    window->btnStopClick();
    EXPECT_EQ(Data().Points(), 3);
    EXPECT_GE(Graph()->Chart().Axes().ManualMaxX(), before - core::kOneSecond);
    EXPECT_LE(Graph()->Chart().Axes().ManualMaxX(), core::NowTDateTime() + core::kOneSecond);
}

TEST_F(RealTimeRecordingTest, FahrenheitAndAChannelOutOfRange) {
    AnswerSetup("10", 0);
    window->btnRunClick();
    Live(100.0f, 20.0f, /*status=*/0x0040, /*invalid=*/0x0100);  // T2 out of range
    Tick();
    EXPECT_FLOAT_EQ(Data().YData(0, 0), 212.0f);
    EXPECT_FLOAT_EQ(Data().YData(1, 0), 9999.0f);
    EXPECT_EQ(Box("txtT2Max"), "OL");
    EXPECT_TRUE(Box("txtT1Max").startsWith("212.0@"));
    Live(0.0f, 20.0f, 0x0040, 0);
    Tick();
    window->btnStopClick();
    EXPECT_EQ(Box("txtT1Avg"), "122.000");
    EXPECT_EQ(Box("txtT2Avg"), "68.000") << "the out-of-range point stays out of the average";
    const QString firstLine = Graph()->DataList().data(Graph()->DataList().index(0)).toString();
    EXPECT_TRUE(firstLine.endsWith("       OL")) << firstLine.toStdString();
}

TEST_F(RealTimeRecordingTest, ASampleBeyondTheAxisMovesItsEndByTheStartUpStep) {
    AnswerSetup("10", 0);
    window->btnRunClick();
    const core::TDateTime end = Graph()->Chart().Axes().ManualMaxX();
    clockMs = static_cast<qint64>((core::FromTDateTime(end).toMSecsSinceEpoch() / 1000) * 1000) +
              5000 - 1000;
    Tick();
    const core::TDateTime taken = Data().XDataII(0, 0);
    EXPECT_NEAR(Graph()->Chart().Axes().ManualMaxX(), taken + window->State().RealTimeAxisStep,
                1e-9);
    EXPECT_NEAR(window->State().RealTimeAxisStep * 86400.0, 200.0, 1e-6);
}

TEST_F(RealTimeRecordingTest, StartingAgainAsksAboutThePointsAlreadyThere) {
    AnswerSetup("10", 0);
    window->btnRunClick();
    Tick();
    window->btnStopClick();
    ASSERT_EQ(window->State().RealTimePointCount, 1);

    prompter.confirmAnswer = ui::Prompter::Answer::Cancel;
    window->btnRunClick();
    EXPECT_EQ(prompter.questions.last(), kResetQuestion);
    EXPECT_FALSE(window->State().RealTimeRecording);
    EXPECT_EQ(Data().Points(), 1);

    // Yes with the save dialog cancelled: the points are wanted, so nothing is reset.
    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    prompter.saveFileName.clear();
    window->btnRunClick();
    EXPECT_FALSE(window->State().RealTimeRecording);
    EXPECT_EQ(Data().Points(), 1);

    prompter.saveFileName = InHome("kept.ghf");
    window->btnRunClick();
    EXPECT_TRUE(QFile::exists(InHome("kept.ghf")));
    EXPECT_TRUE(window->State().RealTimeRecording);
    EXPECT_EQ(Data().Points(), 10);
}

TEST_F(RealTimeRecordingTest, ANumberThatIsNotValidChangesNothing) {
    for (const QString& entered : {QString(""), QString("0")}) {
        AnswerSetup(entered, 0);
        window->btnRunClick();
        EXPECT_EQ(prompter.messages.last(), entered + " is not valid.\n");
        EXPECT_FALSE(window->State().RealTimeRecording);
    }
    AnswerSetup("10", 0, /*start=*/false);
    window->btnRunClick();
    EXPECT_FALSE(window->State().RealTimeRecording);
}

TEST_F(RealTimeRecordingTest, TheSetupStaysOpenWithWhatWasTypedUntilTheNumberIsOne) {
    prompter.onDialog = [this](QDialog& dialog) {
        auto* setup = qobject_cast<meter::TfrmSetupRealTime*>(&dialog);
        if (!setup) return int(QDialog::Rejected);
        setup->show();
        auto* number = setup->findChild<QLineEdit*>("edtRealTimeNo");
        auto* rate = setup->findChild<QComboBox*>("txtRate");
        auto* start = setup->findChild<QPushButton*>("btnStart");
        rate->setCurrentIndex(3);
        number->setText("0");
        rate->setFocus();
        start->click();
        EXPECT_TRUE(setup->isVisible());
        EXPECT_EQ(number->text(), "0");
        EXPECT_EQ(rate->currentIndex(), 3);
        EXPECT_EQ(setup->focusWidget(), number);
        number->setText("10");
        start->click();
        return setup->result();
    };
    window->btnRunClick();
    EXPECT_EQ(prompter.messages, QStringList{"0 is not valid.\n"});
    EXPECT_TRUE(window->State().RealTimeRecording);
    EXPECT_EQ(Data().Points(), 10);
    EXPECT_EQ(window->State().RealTimeRate, 10);
}

TEST_F(RealTimeRecordingTest, ClearIsOffWhileRecordingAndEmptiesTheGraphAfterwards) {
    AnswerSetup("10", 0);
    window->btnRunClick();
    auto* clear = Graph()->findChild<QToolButton*>("tbntClr");
    ASSERT_NE(clear, nullptr);
    EXPECT_FALSE(clear->isEnabled());
    Tick();
    Tick();
    window->btnStopClick();
    EXPECT_TRUE(clear->isEnabled());

    // Yes with the save dialog cancelled keeps the points.
    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    prompter.saveFileName.clear();
    clear->click();
    EXPECT_EQ(prompter.questions.last(), "Save Real-Time Graph ?");
    EXPECT_EQ(Graph()->DataList().rowCount(), 2);

    prompter.confirmAnswer = ui::Prompter::Answer::No;
    clear->click();
    EXPECT_EQ(Graph()->DataList().rowCount(), 0);
    EXPECT_EQ(window->State().RealTimePointCount, 0);
    EXPECT_FALSE(window->State().RealTimeUnsaved);
    EXPECT_DOUBLE_EQ(Data().XDataII(0, 0), 0.0);
    EXPECT_EQ(Box("txtT1Avg"), "");
}

TEST_F(RealTimeRecordingTest, ClosingTheWindowWhileRecordingEndsTheRecording) {
    AnswerSetup("10", 0);
    window->btnRunClick();
    Tick();
    prompter.confirmAnswer = ui::Prompter::Answer::No;  // "Save Real-Time Graph ?"
    Graph()->parentWidget()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->RealTimeGraphWindow(), nullptr);
    EXPECT_FALSE(window->State().RealTimeRecording);
    EXPECT_EQ(window->State().RealTimePointCount, 0);
    EXPECT_TRUE(window->findChild<QAction*>("Run1")->isEnabled());
    EXPECT_FALSE(window->findChild<QAction*>("Stop1")->isEnabled());
}

TEST_F(RealTimeRecordingTest, ClosingTheWindowMidWayGivesEveryCommandBackAtOnce) {
    AnswerSetup("100", 0);
    window->btnRunClick();
    for (int tick = 0; tick < 5; ++tick) Tick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    ASSERT_FALSE(window->findChild<QAction*>("Option1")->isEnabled());

    prompter.confirmAnswer = ui::Prompter::Answer::No;  // "Save Real-Time Graph ?"
    Graph()->parentWidget()->close();
    QCoreApplication::processEvents();
    ASSERT_EQ(window->RealTimeGraphWindow(), nullptr);
    EXPECT_FALSE(window->State().RealTimeUnsaved);
    for (const char* entry : {"Run1", "Option1", "DataLogger1"})
        EXPECT_TRUE(window->findChild<QAction*>(entry)->isEnabled()) << entry;
    EXPECT_FALSE(window->findChild<QAction*>("Stop1")->isEnabled());
    for (const char* button : {"btnRun", "btnSetup", "btnDataLogger"})
        EXPECT_TRUE(window->findChild<QToolButton*>(button)->isEnabled()) << button;
    EXPECT_FALSE(window->findChild<QToolButton*>("btnStop")->isEnabled());
}

}  // namespace
}  // namespace kr820::meter
