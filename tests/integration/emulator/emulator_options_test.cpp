// SPDX-License-Identifier: MIT
#include "emulator_options.h"

#include <gtest/gtest.h>

namespace kr820::emulator {
namespace {

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

TEST(EmulatorOptions, RejectWhatTheMeterCannotCarry) {
    const std::vector<std::vector<std::string>> rejected = {
        {"--t1", "abc"},    {"--t1", "25,3"}, {"--t2", "3276.8"}, {"--t2", "-3276.9"},
        {"--t1", "25.3x"},  {"--t1", "nan"},  {"--t2"},           {"--link"},
        {"--fahrenheit=1"}, {"--unknown"},
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
