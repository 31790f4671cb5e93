// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_texts.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <map>

#include "alarm_rig.h"

namespace kr820::core {
namespace {

std::map<QString, QString> Environment(const AlarmEvent& event) {
    std::map<QString, QString> variables;
    for (const auto& [name, value] : AlarmEnvironment(event)) variables[name] = value;
    return variables;
}

TEST(AlarmTexts, TheCommandEnvironmentOfARaiseAndOfALoss) {
    const AlarmEvent raised{
        AlarmChange::Raised, {AlarmKind::Low, AlarmChannel::T2}, AlarmRig::Start(), -18.3, -18.0,
        DisplayUnit::Celsius};
    auto variables = Environment(raised);
    EXPECT_EQ(variables["KR820_ALARM"], "raised");
    EXPECT_EQ(variables["KR820_KIND"], "low");
    EXPECT_EQ(variables["KR820_CHANNEL"], "T2");
    EXPECT_EQ(variables["KR820_VALUE"], "-18.3");
    EXPECT_EQ(variables["KR820_LIMIT"], "-18.0");
    EXPECT_EQ(variables["KR820_UNIT"], "C");
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^2026-03-01T\\d\\d:\\d\\d:00[+-]\\d\\d:\\d\\d$"))
                    .match(variables["KR820_TIME"])
                    .hasMatch())
        << variables["KR820_TIME"].toStdString();

    variables =
        Environment({AlarmChange::Cleared, kLost, AlarmRig::Start(), {}, {}, DisplayUnit::Celsius});
    EXPECT_EQ(variables["KR820_ALARM"], "cleared");
    EXPECT_EQ(variables["KR820_KIND"], "lost");
    EXPECT_TRUE(variables["KR820_CHANNEL"].isEmpty());
    EXPECT_TRUE(variables["KR820_VALUE"].isEmpty());
    EXPECT_TRUE(variables["KR820_LIMIT"].isEmpty());
}

TEST(AlarmTexts, TheRowColumnNamesTheActiveAlarmsAcknowledgedOrNot) {
    AlarmSettings settings = T1Limits(85.0);
    settings.MeterLost = true;
    AlarmRig rig(settings);
    EXPECT_TRUE(ActiveAlarmsText(rig.engine).isEmpty());
    rig.T1({86});
    rig.engine.AcknowledgeAll(rig.now);
    rig.Lost();
    EXPECT_EQ(ActiveAlarmsText(rig.engine), "t1-high;lost");
    rig.T1({80});
    EXPECT_TRUE(ActiveAlarmsText(rig.engine).isEmpty()) << "cleared, even unacknowledged";
}

}  // namespace
}  // namespace kr820::core
