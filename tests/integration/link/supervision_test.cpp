// SPDX-License-Identifier: MIT
// The once-a-second supervision, with the ticks driven directly and a clock the test sets.
#include <gtest/gtest.h>

#include <QTimer>

#include "core/protocol/command_frame.h"
#include "fake_link_view.h"
#include "link/com_port.h"
#include "link/meter_link.h"
#include "running_emulator.h"

namespace kr820::link {
namespace {

using testing::FakeLinkView;
using testing::PathOf;
using testing::ProcessEventsUntil;
using testing::StartEmulator;

class SupervisionTest : public ::testing::Test {
protected:
    SupervisionTest() : view({"ttyS9"}), link(state, comm1, timer, view) {
        timer.setInterval(1000);
        link.SetClock([this] { return nowMs; });
        state.Connected = true;
        state.CurrentPortIndex = 2;
    }
    void Tick(qint64 atMs) {
        nowMs = atMs;
        link.MainTimerTimer();
    }

    qint64 nowMs = 0;
    core::AppState state;
    TComPort comm1;
    QTimer timer;
    FakeLinkView view;
    MeterLink link;
};

TEST_F(SupervisionTest, TheThirdTickWithoutAFrameDeclaresTheLinkLost) {
    state.LiveBuffer = "\x02partial";
    Tick(0);
    Tick(1000);
    EXPECT_TRUE(state.Connected);
    Tick(2000);
    EXPECT_FALSE(state.Connected);
    EXPECT_FALSE(view.runEnabled);
    EXPECT_FALSE(view.stopEnabled);
    EXPECT_FALSE(view.dataLoggerEnabled);
    EXPECT_EQ(view.portPanel, "COM3");
    EXPECT_EQ(view.connectionPanel, "Off Connection");
    EXPECT_TRUE(view.noConnectionShown);
    EXPECT_TRUE(state.LiveBuffer.isEmpty());
    EXPECT_EQ(state.MissedTicks, 0) << "the steps repeat every third tick while no frame comes";
    EXPECT_FALSE(state.TimerBusy);
}

TEST_F(SupervisionTest, AFrameBetweenTicksKeepsTheLink) {
    Tick(0);
    Tick(1000);
    state.FrameReceived = true;
    Tick(2000);
    Tick(3000);
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(state.MissedTicks, 1);
    EXPECT_FALSE(state.FrameReceived);
}

TEST_F(SupervisionTest, LateTicksShortenTheNextIntervalButNeverBelowHalfASecond) {
    Tick(0);  // the first tick only remembers its time
    EXPECT_EQ(timer.interval(), 1000);
    Tick(1015);
    EXPECT_EQ(timer.interval(), 985);
    Tick(2015);  // on time: the correction stays
    EXPECT_EQ(timer.interval(), 985);
    Tick(3000);  // early by 15 ms: lengthens again
    EXPECT_EQ(timer.interval(), 1000);
    Tick(4600);
    EXPECT_EQ(timer.interval(), 500);
    Tick(5100);  // 500 ms after the last: 500 early, so 500 + 500, with no upper limit
    EXPECT_EQ(timer.interval(), 1000);
}

TEST_F(SupervisionTest, RealTimeSamplesAreTakenEveryRateTicksWithAFreshFrame) {
    int samples = 0;
    link.SetOnRealTimeSample([&](core::TDateTime) { ++samples; });
    state.RealTimeRecording = true;
    state.RealTimeRate = 2;
    for (int tick = 0; tick < 4; ++tick) {
        state.FrameReceived = true;
        Tick(tick * 1000);
    }
    EXPECT_EQ(samples, 2);
    EXPECT_TRUE(state.RealTimeUnsaved);
}

TEST(LinkRestore, TheFirstFrameAfterALossRestoresTheLink) {
    auto meter = StartEmulator();
    testing::LinkRig rig({PathOf(*meter)});
    auto& [state, comm1, timer, view, link] = rig;
    int frames = 0;
    link.SetOnLiveFrame([&](const QByteArray& frame) {
        ++frames;
        EXPECT_EQ(frame.size(), 23);
    });
    comm1.SetDeviceName(PathOf(*meter));
    comm1.SetOnRxChar([&](TComPort& sender) { link.Comm1RxChar(sender); });
    comm1.Open();
    view.runEnabled = view.stopEnabled = view.dataLoggerEnabled = false;
    view.noConnectionShown = true;

    link.MainTimerTimer();  // polls
    ASSERT_TRUE(ProcessEventsUntil([&] { return frames == 1; }));
    EXPECT_TRUE(state.Connected);
    EXPECT_TRUE(state.FrameReceived);
    EXPECT_EQ(view.connectionPanel, "On Connection");
    EXPECT_EQ(view.portPanel, "COM1");
    EXPECT_TRUE(view.runEnabled);
    EXPECT_FALSE(view.stopEnabled);
    EXPECT_TRUE(view.dataLoggerEnabled);
    EXPECT_FALSE(view.noConnectionShown);
    EXPECT_FALSE(state.RxBusy);
}

TEST(LiveReading, AtMost256BytesAreTakenPerReceiveEvent) {
    auto meter = StartEmulator();
    testing::LinkRig rig({PathOf(*meter)});
    auto& [state, comm1, timer, view, link] = rig;
    int frames = 0;
    link.SetOnLiveFrame([&](const QByteArray&) { ++frames; });
    comm1.SetDeviceName(PathOf(*meter));
    comm1.Open();
    for (int poll = 0; poll < 13; ++poll) comm1.Write(core::FrameCommand("A"));
    ASSERT_TRUE(ProcessEventsUntil([&] { return comm1.InputCount() == 13 * 23; }));

    link.Comm1RxChar(comm1);
    EXPECT_EQ(frames, 11);  // 256 bytes hold eleven whole frames and three bytes of the next
    EXPECT_EQ(state.LiveBuffer.size(), 3);
    EXPECT_EQ(comm1.InputCount(), 13 * 23 - 256);
    link.Comm1RxChar(comm1);
    EXPECT_EQ(frames, 13);
    EXPECT_TRUE(state.LiveBuffer.isEmpty());
}

}  // namespace
}  // namespace kr820::link
