// SPDX-License-Identifier: MIT
// Finding the meter among the listed devices, on scripted devices and a jumping clock.
#include <gtest/gtest.h>

#include "core/protocol/command_frame.h"
#include "link_rig.h"

namespace kr820::link {
namespace {

using namespace std::chrono_literals;
using testing::ScriptedMeter;

class MeterSearchTest : public ::testing::Test {
protected:
    ScriptedMeter mute1, mute2, meter;
    testing::ScriptedLinkRig rig;

    MeterSearchTest() {
        mute1.silent = mute2.silent = true;
        rig.Attach("/dev/ttyKR0", mute1);
        rig.Attach("/dev/ttyKR1", mute2);
        rig.Attach("/dev/ttyKR2", meter);
    }
    void Search(const QStringList& devices) {
        rig.link.SetDevices(devices);
        rig.link.SearchMeter();
    }
};

TEST_F(MeterSearchTest, AMeterOnTheThirdDeviceIsFoundAfterTryingTheFirstTwo) {
    Search({"/dev/ttyKR0", "/dev/ttyKR1", "/dev/ttyKR2"});

    EXPECT_TRUE(rig.state.Connected);
    EXPECT_EQ(rig.state.LastConnectedPort, 2);
    EXPECT_EQ(rig.state.CurrentPortIndex, 2);
    EXPECT_EQ(rig.state.ModelCode, 820);
    EXPECT_EQ(rig.state.LastConnectedModel, 820);
    EXPECT_EQ(rig.view.portPanel, "/dev/ttyKR2");
    EXPECT_EQ(rig.view.connectionPanel, "On Connection");
    EXPECT_TRUE(rig.view.runEnabled);
    EXPECT_FALSE(rig.view.stopEnabled);
    EXPECT_FALSE(rig.view.noConnectionShown);
    EXPECT_EQ(mute1.Count("K"), 1);
    EXPECT_EQ(mute2.Count("K"), 1);
    EXPECT_EQ(rig.view.splashTexts,
              (QStringList{"Searching Meter on /dev/ttyKR0", "Searching Meter on /dev/ttyKR1",
                           "Searching Meter on /dev/ttyKR2"}));
    EXPECT_EQ(rig.view.chosenTexts,
              (QStringList{"/dev/ttyKR0", "/dev/ttyKR0", "/dev/ttyKR1", "/dev/ttyKR2"}))
        << "the chooser follows the search";
    // Each device: a rest before opening, the model query's limit; then the rest before the
    // live port opens for good.
    EXPECT_EQ(rig.clock.Paused(), 3 * (300ms + 500ms) + 500ms);

    // The search ends by polling the meter and attaching the live path.
    EXPECT_TRUE(rig.comm1.Active());
    EXPECT_EQ(rig.comm1.Writes().back().bytes, core::FrameCommand("A"));
    EXPECT_EQ(meter.Count("A"), 1);
    rig.clock.Advance(rig.comm1.answerDelay);
    rig.comm1.DeliverRxChar();
    EXPECT_TRUE(rig.state.FrameReceived);
}

TEST_F(MeterSearchTest, ADeviceThatCannotBeOpenedLeavesTheList) {
    Search({"/dev/kr820-missing", "/dev/ttyKR2"});
    EXPECT_EQ(rig.link.Devices().Entries(), QStringList{"/dev/ttyKR2"});
    EXPECT_EQ(rig.view.shownDevices, QStringList{"/dev/ttyKR2"});
    EXPECT_TRUE(rig.state.Connected);
    EXPECT_EQ(rig.state.LastConnectedPort, 0);
}

TEST_F(MeterSearchTest, WithoutAMeterTheRememberedPortIsOpenedAndPolled) {
    rig.state.LastConnectedPort = 1;
    Search({"/dev/ttyKR0", "/dev/ttyKR1"});

    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.state.ModelCode, 820);
    EXPECT_EQ(rig.state.CurrentPortIndex, 1);
    EXPECT_EQ(rig.link.Devices().ChosenIndex(), 1);
    EXPECT_EQ(rig.view.chosenTexts.last(), "/dev/ttyKR1");
    EXPECT_EQ(rig.view.connectionPanel, "Off Connection");
    EXPECT_EQ(rig.view.portPanel, "/dev/ttyKR1");
    EXPECT_TRUE(rig.view.noConnectionShown);
    EXPECT_TRUE(rig.comm1.Active());
    EXPECT_EQ(mute2.Count("A"), 1);
}

TEST_F(MeterSearchTest, ARememberedPortBeyondTheListFallsBackToTheFirst) {
    rig.state.LastConnectedPort = 5;
    Search({"/dev/ttyKR0"});
    EXPECT_EQ(rig.state.LastConnectedPort, 0);
    EXPECT_EQ(rig.state.CurrentPortIndex, 0);
    EXPECT_EQ(rig.comm1.DeviceName(), "/dev/ttyKR0");
}

TEST_F(MeterSearchTest, TheModelCodeMayStandAnywhereInTheFirstSixBytes) {
    meter.answers.SetModelReply("x820xx");
    Search({"/dev/ttyKR2"});
    EXPECT_TRUE(rig.state.Connected);
}

TEST_F(MeterSearchTest, AFiveByteReplyIsRefusedWhateverItHolds) {
    meter.answers.SetModelReply("K820\x03");
    Search({"/dev/ttyKR2"});
    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.view.connectionPanel, "Off Connection");
}

TEST_F(MeterSearchTest, ASixByteReplyWithoutTheModelIsNoMeter) {
    meter.answers.SetModelReply("\x02K821\x03");
    Search({"/dev/ttyKR2"});
    EXPECT_FALSE(rig.state.Connected);
}

TEST_F(MeterSearchTest, NoDeviceAtAllMakesNoAttemptAndOpensNothing) {
    Search({});
    EXPECT_TRUE(rig.view.splashTexts.isEmpty());
    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.view.connectionPanel, "Off Connection");
    EXPECT_EQ(rig.view.portPanel, "/dev/");
    EXPECT_FALSE(rig.comm1.Active());
    EXPECT_EQ(rig.comm1.Opens(), 0);
}

}  // namespace
}  // namespace kr820::link
