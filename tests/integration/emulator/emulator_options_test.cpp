// SPDX-License-Identifier: MIT
#include "emulator_numbers.h"
#include "emulator_options.h"

#include <gtest/gtest.h>

#include "hex.h"
#include "logger_memory_builder.h"
#include "logger_transfer.h"
#include "meter_replies.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono_literals;
using testing::ToHex;

TEST(EmulatorOptions, SetTheStateTheMeterReports) {
    EmulatorOptions options;
    std::string error;
    ASSERT_TRUE(ParseEmulatorOptions({"--t1", "-12.5", "--t2", "21.46", "--fahrenheit", "--type-j",
                                      "--recording", "--silent", "--link", "/tmp/kr820"},
                                     &options, &error))
        << error;
    EXPECT_EQ(options.state.t1.tenthsC, -125);
    EXPECT_EQ(options.state.t1.minTenthsC, -125);
    EXPECT_EQ(options.state.t1.maxTenthsC, -125);
    EXPECT_EQ(options.state.t2.tenthsC, 215);  // rounded to the tenth the meter carries
    EXPECT_EQ(options.state.statusB, kStatusBFahrenheit | kStatusBTypeJ | kStatusBRecording);
    EXPECT_EQ(options.state.statusA, MeterState{}.statusA);
    EXPECT_TRUE(options.silent);
    EXPECT_EQ(options.linkPath, "/tmp/kr820");
}

TEST(EmulatorOptions, ScriptEveryStatusBitAndStoredTemperature) {
    EmulatorOptions options;
    std::string error;
    ASSERT_TRUE(ParseEmulatorOptions({"--t1-min",
                                      "10",
                                      "--t1-max",
                                      "40",
                                      "--t1",
                                      "25",  // explicit MIN/MAX win over --t1
                                      "--t1-rel",
                                      "1.5",
                                      "--t2-rel",
                                      "-2",
                                      "--t2-min",
                                      "-3.5",
                                      "--t2-max",
                                      "99.9",
                                      "--rel",
                                      "--mode",
                                      "2",
                                      "--rec-blink",
                                      "--t1-invalid",
                                      "--t2-invalid",
                                      "--low-battery",
                                      "--printer",
                                      "--no-auto-off",
                                      "--t2-main",
                                      "--t1-two-decimals",
                                      "--t2-two-decimals"},
                                     &options, &error))
        << error;
    MeterState expected;
    expected.statusA = kStatusARel | kStatusALowBattery | kStatusARecBlinking |
                       kStatusAT1PointBeforeLastTwo | kStatusAT2PointBeforeLastTwo |
                       kStatusAPrinter;  // and auto power-off cleared
    expected.statusB = kStatusBModeMin | kStatusBT2OnMain;
    expected.t1 = {250, 15, 100, 400, 1};
    expected.t2 = {MeterState{}.t2.tenthsC, -20, -35, 999, 1};
    EXPECT_EQ(ToHex(EncodeLiveFrame(options.state)), ToHex(EncodeLiveFrame(expected)));
}

TEST(EmulatorOptions, MotionAndFaults) {
    EmulatorOptions options;
    std::string error;
    ASSERT_TRUE(ParseEmulatorOptions(
        {"--wave", "--out-of-range-after", "2.5", "--model-reply", "\\x02K82\\\\", "--noise",
         "--split-frames", "--double-frames", "--wrong-last-byte", "3"},
        &options, &error))
        << error;
    EXPECT_TRUE(options.motion.wave);
    EXPECT_EQ(options.motion.t2OutOfRangeAfter, 2500ms);
    EXPECT_EQ(options.modelReply, std::string("\x02K82\\"));
    EXPECT_EQ(options.faults.noise, kDefaultNoise);
    EXPECT_EQ(options.faults.splitGap, kDefaultSplitGap);
    EXPECT_TRUE(options.faults.doubleFrames);
    EXPECT_EQ(options.faults.wrongLastByteFrames, 3);
}

TEST(EmulatorOptions, LoggerMemoryAndDownloadFaults) {
    EmulatorOptions options;
    std::string error;
    ASSERT_TRUE(ParseEmulatorOptions(
        {"--generate-memory", "rate=3,values=1/2;type=J", "--no-head-reply", "--head-length", "25",
         "--end-address", "0x303a0", "--bad-sum-always", "4", "--silent-after-block", "7",
         "--block-noise", "0", "--paced", "--save-memory", "/tmp/m.820"},
        &options, &error))
        << error;
    ASSERT_TRUE(options.memorySets);
    ASSERT_EQ(options.memorySets->size(), 2u);
    EXPECT_EQ((*options.memorySets)[0].rateCode, 3);
    EXPECT_EQ((*options.memorySets)[1].type, Thermocouple::kJ);
    EXPECT_TRUE(options.memoryFile.empty());
    EXPECT_EQ(options.saveMemoryPath, "/tmp/m.820");
    DownloadFaults expected;
    expected.noHeaderReply = true;
    expected.headerReplyBytes = 25;
    expected.endAddress = 0x303A0;
    expected.badChecksumBlock = 4;
    expected.badChecksumEveryTime = true;
    expected.silentAfterBlock = 7;
    expected.noisyBlock = 0;
    EXPECT_EQ(options.downloadFaults, expected);
    EXPECT_TRUE(options.paced);

    EmulatorOptions fromFile;
    ASSERT_TRUE(ParseEmulatorOptions({"--memory", "m.820", "--bad-sum", "2"}, &fromFile, &error));
    EXPECT_EQ(fromFile.memoryFile, "m.820");
    EXPECT_FALSE(fromFile.memorySets);
    EXPECT_EQ(fromFile.downloadFaults.badChecksumBlock, 2u);
    EXPECT_FALSE(fromFile.downloadFaults.badChecksumEveryTime);
}

TEST(EmulatorOptions, SetupFaults) {
    EmulatorOptions options;
    std::string error;
    ASSERT_TRUE(ParseEmulatorOptions({"--long-setup-reply", "--setup-echo-wrong-at", "13",
                                      "--refuse-setup-from", "0x6E", "--clock-echo-wrong-start"},
                                     &options, &error))
        << error;
    SetupFaults expected;
    expected.longRecordReply = true;
    expected.writeEchoWrongAt = 13;
    expected.refuseWritesFrom = 0x6E;
    expected.clockEchoWrongStart = true;
    EXPECT_EQ(options.setupFaults, expected);

    EmulatorOptions decimal;
    ASSERT_TRUE(ParseEmulatorOptions({"--refuse-setup-from", "64"}, &decimal, &error)) << error;
    EXPECT_EQ(decimal.setupFaults.refuseWritesFrom, 0x40);
    EXPECT_EQ(EmulatorOptions{}.setupFaults, SetupFaults{});
}

TEST(EmulatorOptions, RejectWhatTheMeterCannotCarry) {
    const std::vector<std::vector<std::string>> rejected = {
        {"--t1", "abc"},
        {"--t1", "25,3"},
        {"--t2", "3276.8"},
        {"--t2", "-3276.9"},
        {"--t1", "25.3x"},
        {"--t1", "nan"},
        {"--t2"},
        {"--link"},
        {"--fahrenheit=1"},
        {"--unknown"},
        {"--t1-min", "x"},
        {"--mode", "4"},
        {"--mode", "1.5"},
        {"--mode"},
        {"--out-of-range-after", "-1"},
        {"--out-of-range-after", "soon"},
        {"--wrong-last-byte", "-2"},
        {"--model-reply", "\\x0"},
        {"--model-reply", "\\q"},
        {"--no-wave"},
        {"--memory"},
        {"--memory", "a.820", "--generate-memory", "empty"},
        {"--generate-memory", "rate=x"},
        {"--end-address", "1000000000"},
        {"--end-address", "1OOOO"},
        {"--bad-sum", "-1"},
        {"--silent-after-block", "first"},
        {"--head-length", "1001"},
        {"--setup-echo-wrong-at", "16"},
        {"--setup-echo-wrong-at"},
        {"--refuse-setup-from", "0x3F"},
        {"--refuse-setup-from", "0x72"},
        {"--refuse-setup-from", "63"},
        {"--refuse-setup-from", "6E"},
        {"--refuse-setup-from", "0x"},
        {"--long-setup-reply=1"},
    };
    for (const auto& args : rejected) {
        EmulatorOptions options;
        std::string error;
        EXPECT_FALSE(ParseEmulatorOptions(args, &options, &error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
    std::int16_t tenths = 0;
    EXPECT_TRUE(ParseTenthsC("-3276.8", &tenths));
    EXPECT_EQ(tenths, -32768);
}

}  // namespace
}  // namespace kr820::emulator
