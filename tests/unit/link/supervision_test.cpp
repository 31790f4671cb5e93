// SPDX-License-Identifier: MIT
// The once-a-second supervision, with the ticks driven directly on a jumping clock.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>
#include <vector>

#include "core/protocol/command_frame.h"
#include "link_log_capture.h"
#include "link_rig.h"

namespace kr820::link {
namespace {

using namespace std::chrono_literals;

class SupervisionTest : public ::testing::Test {
protected:
    SupervisionTest() {
        rig.Attach("/dev/ttyKR0", meter);
        rig.link.SetDevices({"/dev/ttyKR0"});
        rig.timer.setInterval(1000);
        rig.state.Connected = true;
        rig.state.CurrentPortIndex = 2;
    }
    // A tick `atMs` after the first.
    void Tick(int atMs) {
        rig.clock.AdvanceTo(start + std::chrono::milliseconds(atMs));
        rig.link.MainTimerTimer();
    }
    // The live path as the search leaves it: open and attached.
    void AttachLivePath() {
        rig.comm1.SetOnRxChar([this](Port& sender) { rig.link.Comm1RxChar(sender); });
        rig.comm1.Open();
    }

    testing::ScriptedMeter meter;
    testing::ScriptedLinkRig rig;
    const Clock::TimePoint start = rig.clock.Now();
};

TEST_F(SupervisionTest, TheThirdTickWithoutAFrameDeclaresTheLinkLost) {
    rig.state.LiveBuffer = "\x02partial";
    Tick(0);
    Tick(1000);
    EXPECT_TRUE(rig.state.Connected);
    Tick(2000);
    EXPECT_FALSE(rig.state.Connected);
    EXPECT_FALSE(rig.view.runEnabled);
    EXPECT_FALSE(rig.view.stopEnabled);
    EXPECT_FALSE(rig.view.dataLoggerEnabled);
    EXPECT_EQ(rig.view.portPanel, "/dev/ttyKR0") << "the device path, not a port number";
    EXPECT_EQ(rig.view.connectionPanel, "Off Connection");
    EXPECT_TRUE(rig.view.noConnectionShown);
    EXPECT_TRUE(rig.state.LiveBuffer.isEmpty());
    EXPECT_EQ(rig.state.MissedTicks, 0) << "the steps repeat every third tick while no frame comes";
    EXPECT_FALSE(rig.state.TimerBusy);
}

TEST_F(SupervisionTest, TheReadingStreamTellsALossOnceAndTheReturnWithTheirTimes) {
    std::vector<std::pair<QString, qint64>> events;
    const LiveReadings& readings = rig.link.Readings();
    QObject sink;
    readings.FanOut().Attach(core::ReadingStage::Display, &sink,
                             {.Reading =
                                  [&](const core::LiveReading& r) {
                                      events.push_back({"reading", r.ReadAtMs});
                                  },
                              .LinkLost =
                                  [&](qint64 at) {
                                      events.push_back({"lost", at});
                                  },
                              .LinkRestored =
                                  [&](qint64 at) {
                                      events.push_back({"restored", at});
                                  }});
    qint64 wallMs = 1000;
    rig.link.SetWallClock([&] { return wallMs; });
    AttachLivePath();
    for (int tick = 0; tick < 9; ++tick) {
        meter.silent = true;
        wallMs = 1000 + tick * 1000;
        Tick(tick * 1000);
    }
    meter.silent = false;
    wallMs = 11000;
    Tick(9000);
    rig.clock.Advance(rig.comm1.answerDelay);
    rig.comm1.DeliverRxChar();
    const std::vector<std::pair<QString, qint64>> expected = {
        {"lost", 3000}, {"restored", 11000}, {"reading", 11000}};
    EXPECT_EQ(events, expected) << "the loss repeats every third tick inside, but is told once";
    EXPECT_EQ(readings.ReadingCount(), 1);
}

TEST_F(SupervisionTest, AFrameBetweenTicksKeepsTheLink) {
    Tick(0);
    Tick(1000);
    rig.state.FrameReceived = true;
    Tick(2000);
    Tick(3000);
    EXPECT_TRUE(rig.state.Connected);
    EXPECT_EQ(rig.state.MissedTicks, 1);
    EXPECT_FALSE(rig.state.FrameReceived);
}

TEST_F(SupervisionTest, LateTicksShortenTheNextIntervalButNeverBelowHalfASecond) {
    Tick(0);  // the first tick only remembers its time
    EXPECT_EQ(rig.timer.interval(), 1000);
    Tick(1015);
    EXPECT_EQ(rig.timer.interval(), 985);
    Tick(2015);  // on time: the correction stays
    EXPECT_EQ(rig.timer.interval(), 985);
    Tick(3000);  // early by 15 ms: lengthens again
    EXPECT_EQ(rig.timer.interval(), 1000);
    Tick(4600);
    EXPECT_EQ(rig.timer.interval(), 500);
    Tick(5100);  // 500 ms after the last: 500 early, so 500 + 500, with no upper limit
    EXPECT_EQ(rig.timer.interval(), 1000);
}

TEST_F(SupervisionTest, AShorterTimerUnderAFasterClockIsCorrectedInItsOwnTime) {
    // A tenth of a second of the timer is a second of the link's clock, as in the tests that
    // run the command line ten times faster.
    rig.timer.setInterval(100);
    Tick(0);
    Tick(1150);  // 15 ms late in the timer's time
    EXPECT_EQ(rig.timer.interval(), 85);
    Tick(2000);  // 15 ms early
    EXPECT_EQ(rig.timer.interval(), 100);
    Tick(9000);
    EXPECT_EQ(rig.timer.interval(), 50) << "never below half the timer's second";
}

TEST_F(SupervisionTest, RealTimeSamplesAreTakenEveryRateTicksWithAFreshFrame) {
    std::vector<core::TDateTime> samples;
    rig.link.SetOnRealTimeSample([&](core::TDateTime now) { samples.push_back(now); });
    qint64 wallMs =
        QDateTime(QDate(2026, 12, 7), QTime(10, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    rig.link.SetWallClock([&] { return wallMs; });
    rig.state.RealTimeRecording = true;
    rig.state.RealTimeRate = 2;
    for (int tick = 0; tick < 4; ++tick) {
        rig.state.FrameReceived = true;
        wallMs += 1000;
        Tick(tick * 1000);
    }
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_NEAR((samples[1] - samples[0]) * 86400.0, 2.0, 1e-6) << "stamped with the tick's time";
}

TEST_F(SupervisionTest, EveryTickPollsAndTheFirstFrameAfterALossRestoresTheLink) {
    int frames = 0;
    QObject sink;
    rig.link.Readings().FanOut().Attach(
        core::ReadingStage::Display, &sink, {.Reading = [&](const core::LiveReading& reading) {
            ++frames;
            EXPECT_FLOAT_EQ(reading.Value(core::LiveValue::T1), 25.3f);
        }});
    AttachLivePath();
    rig.state.Connected = false;
    rig.view.runEnabled = rig.view.stopEnabled = rig.view.dataLoggerEnabled = false;
    rig.view.noConnectionShown = true;

    Tick(0);
    EXPECT_EQ(meter.Count("A"), 1);
    rig.clock.Advance(rig.comm1.answerDelay);
    rig.comm1.DeliverRxChar();
    EXPECT_EQ(frames, 1);
    EXPECT_TRUE(rig.state.Connected);
    EXPECT_TRUE(rig.state.FrameReceived);
    EXPECT_EQ(rig.view.connectionPanel, "On Connection");
    EXPECT_EQ(rig.view.portPanel, "/dev/ttyKR0") << "the device path, not a port number";
    EXPECT_TRUE(rig.view.runEnabled);
    EXPECT_FALSE(rig.view.stopEnabled);
    EXPECT_TRUE(rig.view.dataLoggerEnabled);
    EXPECT_FALSE(rig.view.noConnectionShown);
    EXPECT_FALSE(rig.state.RxBusy);
}

TEST_F(SupervisionTest, APortThatClosedItselfIsReopenedByTheNextTick) {
    AttachLivePath();
    rig.comm1.Unplug();
    Tick(0);
    EXPECT_TRUE(rig.comm1.Active());
    EXPECT_EQ(meter.Count("A"), 1);

    // A port the program closed on purpose stays closed.
    rig.comm1.Close();
    Tick(1000);
    EXPECT_FALSE(rig.comm1.Active());
    EXPECT_EQ(meter.Count("A"), 1);
}

TEST_F(SupervisionTest, AtMost256BytesAreTakenPerReceiveEvent) {
    int frames = 0;
    QObject sink;
    rig.link.Readings().FanOut().Attach(core::ReadingStage::Display, &sink,
                                        {.Reading = [&](const core::LiveReading&) { ++frames; }});
    rig.comm1.Open();
    for (int poll = 0; poll < 13; ++poll) rig.comm1.Write(core::FrameCommand("A"));
    rig.clock.Advance(rig.comm1.answerDelay);
    ASSERT_EQ(rig.comm1.InputCount(), 13 * 23);

    rig.link.Comm1RxChar(rig.comm1);
    EXPECT_EQ(frames, 11);  // 256 bytes hold eleven whole frames and three bytes of the next
    EXPECT_EQ(rig.state.LiveBuffer.size(), 3);
    EXPECT_EQ(rig.comm1.InputCount(), 13 * 23 - 256);
    rig.link.Comm1RxChar(rig.comm1);
    EXPECT_EQ(frames, 13);
    EXPECT_TRUE(rig.state.LiveBuffer.isEmpty());
}

TEST_F(SupervisionTest, AFailedLiveReadIsReportedAndTheBufferedFramesStillCount) {
    int frames = 0;
    QObject sink;
    rig.link.Readings().FanOut().Attach(core::ReadingStage::Display, &sink,
                                        {.Reading = [&](const core::LiveReading&) { ++frames; }});
    rig.comm1.Open();
    rig.comm1.Write(core::FrameCommand("A"));
    rig.clock.Advance(rig.comm1.answerDelay);
    rig.state.LiveBuffer = rig.comm1.Read(23);
    rig.comm1.Write(core::FrameCommand("A"));
    rig.clock.Advance(rig.comm1.answerDelay);

    testing::LinkLogCapture log;
    rig.comm1.FailReads("Input/output error");
    rig.link.Comm1RxChar(rig.comm1);
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(rig.comm1.InputCount(), 23) << "what could not be read waits for the next event";
    ASSERT_EQ(log.messages.size(), 1);
    EXPECT_TRUE(log.messages.first().contains("Input/output error"));
    EXPECT_FALSE(rig.state.RxBusy);
}

}  // namespace
}  // namespace kr820::link
