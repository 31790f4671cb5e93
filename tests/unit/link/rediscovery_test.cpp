// SPDX-License-Identifier: MIT
// A meter plugged in after the start: while none answers, the supervision moves its poll round
// the devices the system lists now, and finds it; a connected meter is never left.
#include <gtest/gtest.h>

#include "link_rig.h"

namespace kr820::link {
namespace {

class RediscoveryTest : public ::testing::Test {
protected:
    RediscoveryTest() {
        rig.Attach("/dev/ttyS0", empty);
        empty.silent = true;
        rig.link.SetDevices({"/dev/ttyS0"});
        rig.link.SetDeviceLister([this] { return listed; });
        rig.comm1.SetOnRxChar([this](Port& sender) { rig.link.Comm1RxChar(sender); });
        rig.comm1.Open();
    }
    // One tick, and the meter's answer to its poll delivered before the next.
    void Tick() {
        rig.link.MainTimerTimer();
        rig.clock.Advance(std::chrono::milliseconds(1000));
        rig.comm1.DeliverRxChar();
    }

    testing::ScriptedMeter empty;
    testing::ScriptedMeter meter;
    testing::ScriptedLinkRig rig;
    QStringList listed{"/dev/ttyS0"};
};

TEST_F(RediscoveryTest, AMeterThatAppearsLaterIsFoundWithoutTheUser) {
    for (int tick = 0; tick < 10; ++tick) Tick();
    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.comm1.DeviceName(), "/dev/ttyS0") << "nothing else to look at";

    // The adapter is plugged in: the system lists it, and a meter answers there.
    rig.Attach("/dev/ttyUSB0", meter);
    listed << "/dev/ttyUSB0";
    for (int tick = 0; tick < 6 && !rig.state.Connected; ++tick) Tick();
    EXPECT_TRUE(rig.state.Connected);
    EXPECT_EQ(rig.comm1.DeviceName(), "/dev/ttyUSB0");
    EXPECT_EQ(rig.view.portPanel, "/dev/ttyUSB0");
    EXPECT_EQ(rig.view.connectionPanel, "On Connection");
    EXPECT_EQ(rig.state.LastConnectedDevice, "/dev/ttyUSB0");
    EXPECT_EQ(rig.view.chosenTexts.last(), "/dev/ttyUSB0");
    EXPECT_EQ(rig.view.shownDevices, listed);
}

TEST_F(RediscoveryTest, AConnectedMeterIsPolledWhereItIs) {
    rig.Attach("/dev/ttyUSB0", meter);
    listed = {"/dev/ttyUSB0", "/dev/ttyS0"};
    for (int tick = 0; tick < 8 && !rig.state.Connected; ++tick) Tick();
    ASSERT_TRUE(rig.state.Connected);
    const int polls = meter.Count("A");
    for (int tick = 0; tick < 20; ++tick) Tick();
    EXPECT_TRUE(rig.state.Connected);
    EXPECT_EQ(rig.comm1.DeviceName(), "/dev/ttyUSB0");
    EXPECT_EQ(meter.Count("A") - polls, 20) << "one poll a tick, none elsewhere";
    EXPECT_EQ(empty.Count("A"), 3) << "three polls on the empty port, as a lost link is given";
}

}  // namespace
}  // namespace kr820::link
