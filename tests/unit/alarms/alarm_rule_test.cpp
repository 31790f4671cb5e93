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
}

TEST(AlarmRules, BlanksOfEveryKindDoNotMatter) {
    // A no-break space, an em space, a thin space and a tab, as pasted from a document.
    const AlarmRule rule = Parsed(
        "t1\u00A0>\u2003"
        "30\u2009\t");
    EXPECT_EQ(rule.Kind, AlarmKind::High);
    EXPECT_DOUBLE_EQ(rule.Limit, 30.0);
    EXPECT_EQ(Parsed("\u00A0lost\u00A0").Kind, AlarmKind::MeterLost);
}

TEST(AlarmRules, ARefusalShowsControlCharactersEscaped) {
    EXPECT_EQ(Refusal("t1>3\x01"
                      "0"),
              "alarm \"t1>3\\u00010\": give t1>LIMIT, t1<LIMIT, t2>LIMIT, t2<LIMIT, probe or lost");
    EXPECT_TRUE(Refusal("prob\u200Be").contains("prob\\u200be")) << "an invisible character";
    EXPECT_EQ(VisibleRuleText(u"t1 >\t5\n\u00A0"), "t1 >\\t5\\n\\u00a0");
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
