// SPDX-License-Identifier: MIT
// Devices that refuse the program (no permission, held by another program): told once per device
// and cause, named in the status tip while they refuse, and passed over by the search.
#include <gtest/gtest.h>

#include <cerrno>

#include "link_rig.h"

namespace kr820::link {
namespace {

const QString kDenied = QStringLiteral(
    "Permission denied on /dev/ttyUSB0: add your user to the 'dialout' group (sudo adduser $USER "
    "dialout), then log in again.");
const QString kInUse = QStringLiteral("/dev/ttyUSB0 is in use by another program.");

class AccessRefusalTest : public ::testing::Test {
protected:
    AccessRefusalTest() {
        other.silent = true;  // a device with no meter behind it
        rig.Attach("/dev/ttyUSB0", other);
        rig.Attach("/dev/ttyUSB1", meter);
        rig.comm1.RefuseOpen("/dev/ttyUSB0", EACCES);
        rig.link.SetDevices(listed);
        rig.link.SetDeviceLister([this] { return listed; });
    }
    void Tick() {
        rig.link.MainTimerTimer();
        rig.clock.Advance(std::chrono::milliseconds(1000));
        rig.comm1.DeliverRxChar();
    }
    // Ticks until the supervision has been round every device at least twice.
    void TicksRoundTheDevices() {
        for (int tick = 0; tick < 20; ++tick) Tick();
    }

    testing::ScriptedMeter other, meter;
    testing::ScriptedLinkRig rig;
    QStringList listed{"/dev/ttyUSB0", "/dev/ttyUSB1"};
};

TEST_F(AccessRefusalTest, ADeniedDeviceIsToldOnceAndTheSearchFindsTheMeterBehindIt) {
    rig.link.SearchMeter();
    ASSERT_TRUE(rig.state.Connected);
    EXPECT_EQ(rig.comm1.DeviceName(), "/dev/ttyUSB1");
    EXPECT_EQ(rig.view.refusalsTold, QStringList{kDenied});
    EXPECT_EQ(rig.view.refusalTip, kDenied);

    // The meter falls silent: the supervision tries the denied device again and again.
    meter.silent = true;
    TicksRoundTheDevices();
    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.view.refusalsTold, QStringList{kDenied}) << "not told again every round";
    EXPECT_EQ(rig.view.refusalTip, kDenied);

    // It answers again and is found where it was, past the denied device.
    meter.silent = false;
    for (int tick = 0; tick < 12 && !rig.state.Connected; ++tick) Tick();
    EXPECT_TRUE(rig.state.Connected);
    EXPECT_EQ(rig.comm1.DeviceName(), "/dev/ttyUSB1");
    EXPECT_EQ(rig.view.refusalsTold.size(), 1);
}

TEST_F(AccessRefusalTest, ANewCauseOrAnOpenInBetweenMakesARefusalNewsAgain) {
    rig.link.SearchMeter();
    meter.silent = true;
    TicksRoundTheDevices();
    ASSERT_EQ(rig.view.refusalsTold, QStringList{kDenied});

    // The user was added to the group; now another program holds the device.
    rig.comm1.RefuseOpen("/dev/ttyUSB0", EBUSY);
    TicksRoundTheDevices();
    EXPECT_EQ(rig.view.refusalsTold, (QStringList{kDenied, kInUse}));
    EXPECT_EQ(rig.view.refusalTip, kInUse);

    // That program lets go: the device opens, and the tip forgets it.
    rig.comm1.RefuseOpen("/dev/ttyUSB0", 0);
    TicksRoundTheDevices();
    EXPECT_EQ(rig.view.refusalTip, QString());
    EXPECT_EQ(rig.view.refusalsTold.size(), 2);

    // It takes the device again: news once more.
    rig.comm1.RefuseOpen("/dev/ttyUSB0", EBUSY);
    TicksRoundTheDevices();
    EXPECT_EQ(rig.view.refusalsTold, (QStringList{kDenied, kInUse, kInUse}));
}

TEST_F(AccessRefusalTest, AChosenDeviceThatRefusesIsToldLikeAnyOther) {
    rig.link.SearchMeter();
    rig.comm1.RefuseOpen("/dev/ttyUSB1", EPERM);
    rig.link.ComboBoxDeviceNameChange("/dev/ttyUSB1");
    EXPECT_FALSE(rig.comm1.Active());
    EXPECT_EQ(rig.view.refusalsTold.size(), 2);
    EXPECT_TRUE(rig.view.refusalsTold.last().startsWith("Permission denied on /dev/ttyUSB1: "));
    EXPECT_EQ(rig.view.refusalTip.split('\n').size(), 2) << "both devices refuse now";
}

}  // namespace
}  // namespace kr820::link
