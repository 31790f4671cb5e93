// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_rule.h"

#include <gtest/gtest.h>

namespace kr820::core {
namespace {

AlarmRule Parsed(const char* text) {
    const AlarmRuleParse parse = ParseAlarmRule(QString::fromUtf8(text));
    const auto* rule = std::get_if<AlarmRule>(&parse);
    if (!rule) {
        ADD_FAILURE() << text << ": " << std::get<AlarmRuleError>(parse).message.toStdString();
        return {};
    }
    return *rule;
}

QString Refusal(const char* text) {
    const AlarmRuleParse parse = ParseAlarmRule(QString::fromUtf8(text));
    const auto* error = std::get_if<AlarmRuleError>(&parse);
    return error ? error->message : QString();
}

TEST(AlarmRules, TheFourFormsInAnyCaseAndSpacing) {
    const AlarmRule high = Parsed("t1>85");
    EXPECT_EQ(high.Kind, AlarmKind::High);
    EXPECT_EQ(high.Channel, AlarmChannel::T1);
    EXPECT_DOUBLE_EQ(high.Limit, 85.0);

    const AlarmRule low = Parsed(" T2 < -5.5 ");
    EXPECT_EQ(low.Kind, AlarmKind::Low);
    EXPECT_EQ(low.Channel, AlarmChannel::T2);
    EXPECT_DOUBLE_EQ(low.Limit, -5.5);

    EXPECT_EQ(Parsed("Probe").Kind, AlarmKind::ProbeFault);
    EXPECT_EQ(Parsed("lost").Kind, AlarmKind::MeterLost);
    EXPECT_DOUBLE_EQ(Parsed("t1>+0").Limit, 0.0);
}

TEST(AlarmRules, RefusedTextsSayWhatWasGiven) {
    for (const char* text : {"", "t3>5", "t1=5", "t1>", "t1>>5", "t>5", "t1>5,5", "t1>.5", "t1>1e3",
                             "probe1", "t1>٨٥"}) {
        EXPECT_TRUE(Refusal(text).contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_TRUE(Refusal("t1>85.05").contains(QStringLiteral("one decimal")));
    EXPECT_TRUE(Refusal("t1>3000").isEmpty()) << "3000 itself is a limit";
    EXPECT_TRUE(Refusal("t1>3000.1").contains(QStringLiteral("3000")));
    EXPECT_TRUE(Refusal("t2<-99999").contains(QStringLiteral("3000")));
}

TEST(AlarmRules, RulesSwitchTheirAlarmsOnAndALaterLimitWins) {
    AlarmSettings settings;
    for (const char* text : {"t1>85", "t1>90", "t2<-5", "probe", "lost"})
        ApplyAlarmRule(Parsed(text), settings);
    EXPECT_TRUE(settings.Channels[0].High.On);
    EXPECT_DOUBLE_EQ(settings.Channels[0].High.Limit, 90.0);
    EXPECT_FALSE(settings.Channels[0].Low.On);
    EXPECT_TRUE(settings.Channels[1].Low.On);
    EXPECT_DOUBLE_EQ(settings.Channels[1].Low.Limit, -5.0);
    EXPECT_FALSE(settings.Channels[1].High.On);
    EXPECT_TRUE(settings.Channels[0].ProbeFault && settings.Channels[1].ProbeFault);
    EXPECT_TRUE(settings.MeterLost);
    EXPECT_FALSE(settings.LimitUnit.has_value()) << "the meter's unit, once it is known";
}

}  // namespace
}  // namespace kr820::core
