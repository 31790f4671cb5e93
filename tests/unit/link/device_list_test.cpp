// SPDX-License-Identifier: MIT
#include "link/device_list.h"

#include <gtest/gtest.h>

namespace kr820::link {
namespace {

TEST(DeviceList, TheFirstEntryIsChosenAndAnyIndexOutsideTheListChoosesNothing) {
    DeviceList devices({"ttyS0", "ttyUSB0"});
    EXPECT_EQ(devices.ChosenText(), "ttyS0");
    EXPECT_EQ(devices.ChosenIndex(), 0);
    devices.Choose(2);
    EXPECT_EQ(devices.ChosenText(), "");
    EXPECT_EQ(devices.ChosenIndex(), -1);
    devices.Choose(-1);
    EXPECT_EQ(devices.ChosenIndex(), -1);
    EXPECT_EQ(DeviceList(QStringList{}).ChosenIndex(), -1);
}

TEST(DeviceList, AChosenTextIsFoundAtItsFirstEntry) {
    DeviceList devices({"ttyS0", "ttyUSB0", "ttyS0"});
    devices.Choose(2);
    EXPECT_EQ(devices.ChosenIndex(), 0);
    devices.ChooseText("/dev/pts/4");  // typed: no place in the list
    EXPECT_EQ(devices.ChosenIndex(), -1);
}

TEST(DeviceList, RemovingAnEntryMovesTheRestUpAndKeepsTheChoice) {
    DeviceList devices({"ttyS0", "ttyUSB0", "ttyUSB1"});
    devices.Choose(2);
    devices.Remove(0);
    EXPECT_EQ(devices.Entries(), (QStringList{"ttyUSB0", "ttyUSB1"}));
    EXPECT_EQ(devices.ChosenText(), "ttyUSB1");
    EXPECT_EQ(devices.ChosenIndex(), 1);
    devices.Remove(5);
    EXPECT_EQ(devices.Count(), 2);
}

}  // namespace
}  // namespace kr820::link
