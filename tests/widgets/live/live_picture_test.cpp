// SPDX-License-Identifier: MIT
// The whole live path as a user sees it: the program finds the emulated meter, the LCD window
// mirrors its display, and the link is lost and found again when the meter is unplugged.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/frm_main.h"
#include "fake_prompter.h"
#include "fast_clock.h"
#include "lcd/frm_lcd.h"
#include "running_emulator.h"

namespace kr820::app {
namespace {

using testing::ProcessEventsUntil;

class LivePictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        meter = testing::StartEmulator();
        emulator::MeterState state;
        state.t1.tenthsC = 253;
        state.t2.tenthsC = -50;
        meter->SetState(state);
        std::string error;
        ASSERT_TRUE(meter->MakeSymlink(link.toStdString(), &error)) << error;
        window = std::make_unique<TfrmMain>(
            prompter, [this](QStringList& list) { list << link; }, fastClock);
        QSignalSpy finished(window.get(), &TfrmMain::startupFinished);
        window->show();
        ASSERT_TRUE(finished.wait(10000));
    }
    void TearDown() override {
        window.reset();
        qunsetenv("KR820_HOME");
    }

    testing::FastClock fastClock{10};  // the start-up's rests
    QTemporaryDir home;
    QString link = home.filePath("meter");
    std::unique_ptr<emulator::MeterEmulator> meter;
    testing::FakePrompter prompter;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(LivePictureTest, TheLcdMirrorsTheMeterAndTheLinkSurvivesAnUnplug) {
    core::AppState& state = window->State();
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(window->StatusPanelText(0), link);
    EXPECT_EQ(window->StatusPanelText(1), "On Connection");

    // 25.3 on the main display, -5.0 on the sub display with its sign in the first position.
    const core::LcdState& lcd = window->Lcd().State();
    ASSERT_TRUE(ProcessEventsUntil([&] { return lcd.PaintedMainDigits[5] == 3; }, 5000));
    EXPECT_EQ(lcd.PaintedMainDigits[1], 11);
    EXPECT_EQ(lcd.PaintedMainDigits[2], 11);
    EXPECT_EQ(lcd.PaintedMainDigits[3], 2);
    EXPECT_EQ(lcd.PaintedMainDigits[4], 5);
    EXPECT_EQ(lcd.PaintedSubDigits[0], 10);
    EXPECT_FLOAT_EQ(window->Link().Readings().Last().Value(core::LiveValue::T1), 25.3f);
    EXPECT_FALSE(window->LcdWindow()->lblNoConnection()->isVisibleTo(window->LcdWindow()));

    meter->Unplug();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !state.Connected; }, 6000));
    EXPECT_EQ(window->StatusPanelText(1), "Off Connection");
    EXPECT_TRUE(window->LcdWindow()->lblNoConnection()->isVisibleTo(window->LcdWindow()));
    EXPECT_TRUE(state.LiveBuffer.isEmpty());

    std::string error;
    ASSERT_TRUE(meter->Plug(&error)) << error;
    ASSERT_TRUE(ProcessEventsUntil([&] { return state.Connected; }, 6000));
    EXPECT_EQ(window->StatusPanelText(1), "On Connection");
    EXPECT_FALSE(window->LcdWindow()->lblNoConnection()->isVisibleTo(window->LcdWindow()));
}

}  // namespace
}  // namespace kr820::app
