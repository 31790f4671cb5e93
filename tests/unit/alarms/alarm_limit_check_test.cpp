// SPDX-License-Identifier: MIT
// The one rule for alarm limits: within what a reading can be in their unit, and a low limit
// not above the high one of its channel.
#include "core/alarms/alarm_limit_check.h"

#include <gtest/gtest.h>

namespace kr820::core {
namespace {

AlarmSettings Limits(std::optional<DisplayUnit> unit, std::optional<double> high,
                     std::optional<double> low, AlarmChannel channel = AlarmChannel::T1) {
    AlarmSettings settings;
    settings.LimitUnit = unit;
    if (high) settings.Channel(channel).High = {true, *high};
    if (low) settings.Channel(channel).Low = {true, *low};
    return settings;
}

QString Problem(const AlarmSettings& settings) {
    const auto problem = CheckAlarmLimits(settings);
    return problem ? problem->Message : QString();
}

TEST(AlarmLimitCheck, ALowLimitAboveTheHighOneIsRefusedAndNamed) {
    const auto problem =
        CheckAlarmLimits(Limits(DisplayUnit::Celsius, 30.0, 40.0, AlarmChannel::T2));
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->Alarm, (AlarmId{AlarmKind::Low, AlarmChannel::T2}));
    EXPECT_EQ(problem->Message,
              "The T2 low limit 40.0 \u00B0C is above its high limit 30.0 \u00B0C: a reading "
              "between them would raise both.");
    EXPECT_TRUE(Problem(Limits(DisplayUnit::Celsius, 30.0, 30.0)).isEmpty()) << "equal is fine";
    EXPECT_TRUE(Problem(Limits(DisplayUnit::Celsius, 30.0, 29.9)).isEmpty());
    // A limit switched off takes no part.
    AlarmSettings off = Limits(DisplayUnit::Celsius, 30.0, 40.0);
    off.Channels[0].High.On = false;
    EXPECT_TRUE(Problem(off).isEmpty());
}

TEST(AlarmLimitCheck, ALimitNoReadingReachesIsRefusedNamingTheRange) {
    const auto high = CheckAlarmLimits(Limits(DisplayUnit::Celsius, 99999.0, {}));
    ASSERT_TRUE(high);
    EXPECT_EQ(high->Alarm, (AlarmId{AlarmKind::High, AlarmChannel::T1}));
    EXPECT_EQ(high->Message,
              "The T1 high limit 99999.0 \u00B0C lies outside what a reading can be (-200.0 "
              "\u00B0C to 1370.0 \u00B0C): it could never be raised.");
    EXPECT_FALSE(Problem(Limits(DisplayUnit::Celsius, {}, -5000.0)).isEmpty());
    EXPECT_FALSE(Problem(Limits(DisplayUnit::Celsius, 1370.1, {})).isEmpty());
    EXPECT_FALSE(Problem(Limits(DisplayUnit::Celsius, {}, -200.1)).isEmpty());
    EXPECT_TRUE(Problem(Limits(DisplayUnit::Celsius, 1370.0, -200.0)).isEmpty());

    // Fahrenheit: the same temperatures.
    EXPECT_TRUE(Problem(Limits(DisplayUnit::Fahrenheit, 2498.0, -328.0)).isEmpty());
    EXPECT_TRUE(Problem(Limits(DisplayUnit::Fahrenheit, {}, -300.0)).isEmpty());
    EXPECT_TRUE(Problem(Limits(DisplayUnit::Fahrenheit, 2498.1, {}))
                    .contains("(-328.0 \u00B0F to 2498.0 \u00B0F)"));

    // Without a unit yet, a limit either unit can reach is kept.
    EXPECT_TRUE(Problem(Limits(std::nullopt, {}, -300.0)).isEmpty());
    EXPECT_TRUE(Problem(Limits(std::nullopt, 2000.0, {})).isEmpty());
    EXPECT_EQ(Problem(Limits(std::nullopt, {}, -328.1)),
              "The T1 low limit -328.1 lies outside what a reading can be (-200.0 \u00B0C to "
              "1370.0 \u00B0C, or -328.0 \u00B0F to 2498.0 \u00B0F): it could never be raised.");
}

}  // namespace
}  // namespace kr820::core
