// SPDX-License-Identifier: MIT
// The port discipline around exchanges and downloads, and the user's choice of device.
#include <gtest/gtest.h>

#include "core/protocol/command_frame.h"
#include "link/command_exchange.h"
#include "link_log_capture.h"
#include "link_rig.h"

namespace kr820::link {
namespace {

using namespace std::chrono_literals;

class PortSwitchTest : public ::testing::Test {
protected:
    PortSwitchTest() {
        rig.Attach("/dev/ttyKR0", meter);
        rig.Attach("/dev/ttyKR1", other);
        rig.link.SetDevices({"/dev/ttyKR0", "/dev/ttyKR1"});
        rig.comm1.SetBaudRate(38400);
        rig.comm1.Open();
        rig.timer.start(1000);
    }

    testing::ScriptedMeter meter;
    testing::ScriptedMeter other;
    testing::ScriptedLinkRig rig;
};

TEST_F(PortSwitchTest, TheDownloadPortTakesOverTheDeviceAndHandsItBack) {
    rig.link.QuiesceLivePath();
    EXPECT_FALSE(rig.timer.isActive());
    rig.link.SwitchToDownloadPort(rig.comm2);
    EXPECT_FALSE(rig.comm1.Active());
    EXPECT_TRUE(rig.comm2.Active());
    EXPECT_EQ(rig.comm2.DeviceName(), "/dev/ttyKR0");
    EXPECT_EQ(rig.comm2.BaudRate(), 38400);
    EXPECT_FALSE(rig.comm2.HasOnRxChar());
    EXPECT_EQ(rig.clock.Paused(), 500ms) << "the device rests between the two ports";

    rig.link.ReturnFromDownloadPort(rig.comm2);
    EXPECT_FALSE(rig.comm2.Active());
    EXPECT_TRUE(rig.comm1.Active());
    EXPECT_TRUE(rig.timer.isActive());
    EXPECT_EQ(rig.clock.Paused(), 1000ms);
    EXPECT_TRUE(rig.comm1.Writes().empty()) << "the next tick polls, not the hand-back";
}

TEST_F(PortSwitchTest, QuiescingWaitsForABusyTickAndHandlerAtMostThreeSecondsEach) {
    rig.state.TimerBusy = true;
    rig.state.RxBusy = true;
    rig.link.QuiesceLivePath();
    EXPECT_FALSE(rig.timer.isActive());
    EXPECT_EQ(rig.clock.Elapsed(), 6000ms);
}

TEST_F(PortSwitchTest, TakingUpPollingReattachesTheLivePathAndPolls) {
    rig.state.Connected = false;
    rig.timer.stop();
    {
        DetachedRxChar exchange(rig.comm1);
        EXPECT_TRUE(VerifiedWrite(rig.comm1, rig.clock, "CLRM", core::kEraseMemory));
    }
    rig.link.TakeUpPolling();
    EXPECT_TRUE(rig.timer.isActive());
    ASSERT_TRUE(rig.comm1.HasOnRxChar());
    EXPECT_EQ(rig.comm1.Writes().back().bytes, core::FrameCommand("A"));
    rig.clock.Advance(rig.comm1.answerDelay);
    rig.comm1.DeliverRxChar();
    EXPECT_TRUE(rig.state.FrameReceived);
    EXPECT_TRUE(rig.state.Connected);
}

TEST_F(PortSwitchTest, AnExchangeKeepsTheReceiveHandlerAwayAndGivesItBack) {
    int calls = 0;
    rig.comm1.SetOnRxChar([&](Port&) { ++calls; });
    {
        DetachedRxChar exchange(rig.comm1);
        EXPECT_FALSE(rig.comm1.HasOnRxChar());
    }
    rig.comm1.Arrive("\x02");
    rig.comm1.DeliverRxChar();
    EXPECT_EQ(calls, 1);
}

TEST_F(PortSwitchTest, ABaudRateChangeReopensThePortAfterItsRest) {
    const int opens = rig.comm1.Opens();
    rig.link.ChangeBaudRate(57600);
    EXPECT_TRUE(rig.comm1.Active());
    EXPECT_EQ(rig.comm1.BaudRate(), 57600);
    EXPECT_EQ(rig.comm1.Opens(), opens + 1);
    EXPECT_EQ(rig.clock.Paused(), 500ms);
}

TEST_F(PortSwitchTest, TheUsersDeviceIsOpenedAndRememberedByItsPlaceInTheList) {
    rig.link.ComboBoxDeviceNameChange("/dev/ttyKR1");
    EXPECT_TRUE(rig.comm1.Active());
    EXPECT_EQ(rig.comm1.DeviceName(), "/dev/ttyKR1");
    EXPECT_EQ(rig.state.CurrentPortIndex, 1);
    EXPECT_EQ(rig.state.LastConnectedPort, 1);
    EXPECT_EQ(rig.link.Devices().ChosenText(), "/dev/ttyKR1");

    // A typed name is opened with the device prefix; it has no place in the list.
    testing::LinkLogCapture log;
    rig.link.ComboBoxDeviceNameChange("ttyUSB7");
    EXPECT_EQ(rig.comm1.DeviceName(), "/dev/ttyUSB7");
    EXPECT_FALSE(rig.comm1.Active());
    EXPECT_EQ(rig.state.CurrentPortIndex, -1);
    EXPECT_EQ(rig.state.LastConnectedPort, -1);
    ASSERT_EQ(log.messages.size(), 1);
    EXPECT_TRUE(log.messages.first().contains("No such file or directory"));
}

}  // namespace
}  // namespace kr820::link
