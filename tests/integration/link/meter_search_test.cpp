// SPDX-License-Identifier: MIT
// Finding the meter among the listed devices, against emulated meters.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

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

using Rig = testing::LinkRig;

int CountOf(const emulator::MeterEmulator& meter, const std::string& body) {
    const auto bodies = meter.ReceivedBodies();
    return static_cast<int>(std::count(bodies.begin(), bodies.end(), body));
}

TEST(MeterSearch, AMeterOnTheThirdDeviceIsFoundAfterTryingTheFirstTwo) {
    auto mute1 = StartEmulator(/*silent=*/true);
    auto mute2 = StartEmulator(/*silent=*/true);
    auto meter = StartEmulator();
    Rig rig({PathOf(*mute1), PathOf(*mute2), PathOf(*meter)});

    QElapsedTimer clock;
    clock.start();
    rig.link.SearchMeter();

    EXPECT_TRUE(rig.state.Connected);
    EXPECT_EQ(rig.state.LastConnectedPort, 2);
    EXPECT_EQ(rig.state.CurrentPortIndex, 2);
    EXPECT_EQ(rig.state.ModelCode, 820);
    EXPECT_EQ(rig.state.LastConnectedModel, 820);
    EXPECT_EQ(rig.view.portPanel, PathOf(*meter));
    EXPECT_EQ(rig.view.connectionPanel, "On Connection");
    EXPECT_TRUE(rig.view.runEnabled);
    EXPECT_FALSE(rig.view.stopEnabled);
    EXPECT_FALSE(rig.view.noConnectionShown);
    EXPECT_EQ(CountOf(*mute1, "K"), 1);
    EXPECT_EQ(CountOf(*mute2, "K"), 1);
    EXPECT_EQ(rig.view.splashTexts.first(), "Searching Meter on " + PathOf(*mute1));
    EXPECT_EQ(rig.view.splashTexts.last(), "Searching Meter on " + PathOf(*meter));
    EXPECT_GE(clock.elapsed(), 3 * 800 - 100) << "each device is given its settle and reply time";

    // The search ends by polling the meter and attaching the live path.
    EXPECT_TRUE(rig.comm1.Active());
    EXPECT_TRUE(ProcessEventsUntil([&] { return rig.state.FrameReceived; }));
}

TEST(MeterSearch, ADeviceThatCannotBeOpenedLeavesTheList) {
    auto meter = StartEmulator();
    Rig rig({"/dev/kr820-missing", PathOf(*meter)});
    rig.link.SearchMeter();
    EXPECT_EQ(rig.view.devices, QStringList{PathOf(*meter)});
    EXPECT_TRUE(rig.state.Connected);
    EXPECT_EQ(rig.state.LastConnectedPort, 0);
}

TEST(MeterSearch, WithoutAMeterTheRememberedPortIsOpenedAndPolled) {
    auto first = StartEmulator(/*silent=*/true);
    auto second = StartEmulator(/*silent=*/true);
    Rig rig({PathOf(*first), PathOf(*second)});
    rig.state.LastConnectedPort = 1;
    rig.link.SearchMeter();

    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.state.ModelCode, 820);
    EXPECT_EQ(rig.state.CurrentPortIndex, 1);
    EXPECT_EQ(rig.view.selected, 1);
    EXPECT_EQ(rig.view.connectionPanel, "Off Connection");
    EXPECT_EQ(rig.view.portPanel, PathOf(*second));
    EXPECT_TRUE(rig.view.noConnectionShown);
    EXPECT_TRUE(rig.comm1.Active());
    EXPECT_TRUE(ProcessEventsUntil([&] { return CountOf(*second, "A") == 1; }));
}

TEST(MeterSearch, ARememberedPortBeyondTheListFallsBackToTheFirst) {
    auto mute = StartEmulator(/*silent=*/true);
    Rig rig({PathOf(*mute)});
    rig.state.LastConnectedPort = 5;
    rig.link.SearchMeter();
    EXPECT_EQ(rig.state.LastConnectedPort, 0);
    EXPECT_EQ(rig.state.CurrentPortIndex, 0);
}

TEST(MeterSearch, TheModelCodeMayStandAnywhereInTheFirstSixBytes) {
    auto meter = StartEmulator();
    meter->SetModelReply("x820xx");
    Rig rig({PathOf(*meter)});
    rig.link.SearchMeter();
    EXPECT_TRUE(rig.state.Connected);
}

TEST(MeterSearch, AFiveByteReplyIsRefusedWhateverItHolds) {
    auto meter = StartEmulator();
    meter->SetModelReply("K820\x03");
    Rig rig({PathOf(*meter)});
    rig.link.SearchMeter();
    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.view.connectionPanel, "Off Connection");
}

TEST(MeterSearch, NoDeviceAtAllMakesNoAttemptAndOpensNothing) {
    Rig rig({});
    rig.link.SearchMeter();
    EXPECT_TRUE(rig.view.splashTexts.isEmpty());
    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.view.connectionPanel, "Off Connection");
    EXPECT_EQ(rig.view.portPanel, "/dev/");
    EXPECT_FALSE(rig.comm1.Active());
}

}  // namespace
}  // namespace kr820::link
