// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>

#include "alarm_rig.h"
#include "core/alarms/alarm_reading.h"

namespace kr820::core {
namespace {

using namespace std::chrono_literals;

int Count(const std::vector<AlarmEvent>& events, AlarmChange change) {
    return static_cast<int>(std::count_if(events.begin(), events.end(),
                                          [&](const AlarmEvent& e) { return e.Change == change; }));
}

TEST(AlarmLimits, RaiseOneTenthBeyondTheLimitAndNeverAtIt) {
    AlarmRig rig(T1Limits(85.0, -5.0));
    EXPECT_TRUE(rig.T1({84.9, 85.0, 85.0, -5.0, -4.9}).empty()) << "the limit itself is within";

    const QDateTime raisedAt = rig.now;
    const auto high = rig.T1({85.1});
    ASSERT_EQ(high.size(), 1u);
    EXPECT_EQ(high[0].Change, AlarmChange::Raised);
    EXPECT_EQ(high[0].Alarm, kT1High);
    EXPECT_EQ(high[0].Time, raisedAt);
    EXPECT_DOUBLE_EQ(*high[0].Value, 85.1);
    EXPECT_DOUBLE_EQ(*high[0].Limit, 85.0);
    EXPECT_EQ(rig.Phase(kT1High), AlarmPhase::Raised);

    const auto low = rig.T1({-5.1});
    ASSERT_EQ(low.size(), 2u) << "the high alarm clears, the low one is raised";
    EXPECT_EQ(low[1].Change, AlarmChange::Raised);
    EXPECT_EQ(low[1].Alarm, kT1Low);
    EXPECT_DOUBLE_EQ(*low[1].Limit, -5.0);
}

TEST(AlarmLimits, ClearOnlyPastTheHysteresis) {
    AlarmRig rig(T1Limits(85.0, -5.0));
    rig.T1({85.1});
    EXPECT_TRUE(rig.T1({85.0, 84.6, 84.5}).empty()) << "84.5 is not below 85.0 - 0.5";
    const QDateTime clearedAt = rig.now;
    const auto cleared = rig.T1({84.4});
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_EQ(cleared[0].Change, AlarmChange::Cleared);
    EXPECT_EQ(cleared[0].Time, clearedAt);
    EXPECT_DOUBLE_EQ(*cleared[0].Value, 84.4);
    EXPECT_DOUBLE_EQ(*cleared[0].Limit, 85.0);

    rig.T1({-5.1});
    EXPECT_TRUE(rig.T1({-4.5}).empty());
    EXPECT_EQ(rig.T1({-4.4}).size(), 1u);
}

TEST(AlarmLimits, NoiseSmallerThanTheHysteresisDoesNotFlap) {
    const std::initializer_list<std::optional<double>> noiseAround85 = {
        84.7, 85.3, 84.8, 85.2, 84.9, 85.1, 85.0, 84.7, 85.3, 85.2, 84.8, 85.1};
    const std::initializer_list<std::optional<double>> noiseAround84_4 = {
        84.7, 84.1, 84.6, 84.2, 84.5, 84.3, 84.4, 84.7, 84.1, 84.6};

    AlarmRig rig(T1Limits(85.0));
    rig.T1(noiseAround85);
    EXPECT_EQ(Count(rig.events, AlarmChange::Raised), 1);
    EXPECT_EQ(Count(rig.events, AlarmChange::Cleared), 0);
    rig.T1(noiseAround84_4);
    EXPECT_EQ(Count(rig.events, AlarmChange::Raised), 1);
    EXPECT_EQ(Count(rig.events, AlarmChange::Cleared), 1);

    // The same noise without hysteresis does flap: what the test above relies on.
    AlarmSettings none = T1Limits(85.0);
    none.Channels[0].Hysteresis = 0;
    AlarmRig flapping(none);
    flapping.T1(noiseAround85);
    EXPECT_GT(Count(flapping.events, AlarmChange::Raised), 2);
}

TEST(AlarmLimits, FahrenheitReadingsCompareInShownTenths) {
    AlarmSettings settings = T1Limits(83.3);
    settings.LimitUnit = DisplayUnit::Fahrenheit;
    AlarmRig rig(settings);
    // 28.5 C is 83.30000000000001 F in doubles; the meter shows 83.3.
    LiveReading reading;
    reading.Status = kStatusFahrenheit;
    reading.Celsius[0] = 28.5f;
    EXPECT_TRUE(rig.engine.TakeReading(AlarmReadingOf(reading, rig.now)).empty());
    reading.Celsius[0] = 28.6f;
    const auto raised = rig.engine.TakeReading(AlarmReadingOf(reading, rig.now));
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_DOUBLE_EQ(*raised[0].Value, 83.5);
}

TEST(AlarmHold, RaisesWhenTheHoldHasPassedAtTheReadingThatCompletesIt) {
    AlarmSettings settings = T1Limits(85.0);
    settings.Channels[0].Hold = 5s;
    AlarmRig rig(settings);
    const QDateTime firstBeyond = rig.now;
    EXPECT_TRUE(rig.T1({86, 86, 86, 86, 86}).empty()) << "four seconds beyond";
    const auto raised = rig.T1({86});
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].Time, firstBeyond.addSecs(5));

    // A reading a millisecond short of the hold does not raise.
    AlarmRig close(settings);
    close.tick = 4999ms;
    EXPECT_TRUE(close.T1({86}).empty());
    close.tick = 1ms;
    EXPECT_TRUE(close.T1({86}).empty()) << "4.999 s";
    EXPECT_EQ(close.T1({86}).size(), 1u) << "5.000 s";
}

TEST(AlarmHold, OneReadingBackWithinRestartsTheHold) {
    AlarmSettings settings = T1Limits(85.0);
    settings.Channels[0].Hold = 3s;
    AlarmRig rig(settings);
    EXPECT_TRUE(rig.T1({86, 86, 86, 85.0, 86, 86, 86}).empty());
    EXPECT_EQ(rig.T1({86}).size(), 1u);
}

TEST(AlarmHold, AClockSetBackRestartsTheHoldInsteadOfStallingIt) {
    AlarmSettings settings = T1Limits(85.0);
    settings.Channels[0].Hold = 2s;
    AlarmRig rig(settings);
    rig.T1({86});
    rig.now = rig.now.addSecs(-3600);
    EXPECT_TRUE(rig.T1({86, 86}).empty());
    EXPECT_EQ(rig.T1({86}).size(), 1u);
}

TEST(ProbeFault, RaisedAfterTheHoldWithoutAValueAndClearedByOne) {
    AlarmSettings settings = T1Limits(85.0);
    settings.Channels[0].ProbeFault = true;
    settings.Channels[0].Hold = 2s;
    AlarmRig rig(settings);
    rig.T1({86, 86, 86});
    ASSERT_EQ(rig.Phase(kT1High), AlarmPhase::Raised);

    EXPECT_TRUE(rig.T1({std::nullopt, std::nullopt}).empty());
    const auto fault = rig.T1({std::nullopt});
    ASSERT_EQ(fault.size(), 1u);
    EXPECT_EQ(fault[0].Alarm, kT1Probe);
    EXPECT_FALSE(fault[0].Value.has_value());
    EXPECT_FALSE(fault[0].Limit.has_value());
    EXPECT_EQ(rig.Phase(kT1High), AlarmPhase::Raised) << "no value does not clear a limit alarm";

    const auto back = rig.T1({20.0});
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].Alarm, kT1High);
    EXPECT_EQ(back[1].Alarm, kT1Probe);
    EXPECT_EQ(back[1].Change, AlarmChange::Cleared);
    EXPECT_DOUBLE_EQ(*back[1].Value, 20.0);
}

TEST(ProbeFault, AMissingValueBreaksALimitHold) {
    AlarmSettings settings = T1Limits(85.0);
    settings.Channels[0].Hold = 2s;
    AlarmRig rig(settings);
    EXPECT_TRUE(rig.T1({86, 86, std::nullopt, 86, 86}).empty());
    EXPECT_EQ(rig.T1({86}).size(), 1u);
}

TEST(ProbeFault, ALiveReadingWithoutAValidValueHasNone) {
    LiveReading reading;
    reading.Celsius[0] = 25.0f;
    reading.Celsius[1] = 30.0f;
    reading.Invalid = 0x0400;  // T2's byte, any bit
    AlarmReading mapped = AlarmReadingOf(reading, AlarmRig::Start());
    EXPECT_DOUBLE_EQ(*mapped.T1, 25.0);
    EXPECT_FALSE(mapped.T2.has_value());
    reading.Invalid = 0;
    reading.Celsius[0] = 9999.0f;
    EXPECT_FALSE(AlarmReadingOf(reading, AlarmRig::Start()).T1.has_value())
        << "beyond any thermocouple";
}

TEST(MeterLost, RaisedOnceWhenTheLinkIsLostAndClearedByTheNextReading) {
    AlarmSettings settings;
    settings.MeterLost = true;
    AlarmRig rig(settings);
    rig.T1({20.0});
    const auto lost = rig.Lost();
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].Alarm, kLost);
    EXPECT_TRUE(rig.Lost().empty()) << "lost twice is one alarm";
    rig.now = rig.now.addSecs(30);
    const QDateTime backAt = rig.now;
    const auto back = rig.T1({20.0});
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Change, AlarmChange::Cleared);
    EXPECT_EQ(back[0].Time, backAt);

    AlarmRig off(AlarmSettings{});
    EXPECT_TRUE(off.Lost().empty());
}

TEST(MeterLost, SwitchedOnWhileTheMeterIsLostItIsRaisedAtOnce) {
    AlarmRig rig(AlarmSettings{});
    rig.T1({20.0});
    EXPECT_TRUE(rig.Lost().empty());
    AlarmSettings lost;
    lost.MeterLost = true;
    const auto raised = rig.engine.SetSettings(lost, rig.now);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].Change, AlarmChange::Raised);
    EXPECT_EQ(raised[0].Alarm, kLost);
    EXPECT_TRUE(rig.engine.SetSettings(lost, rig.now).empty()) << "raised once";

    // With the meter answering, switching it on raises nothing.
    AlarmRig answering(AlarmSettings{});
    answering.T1({20.0});
    answering.Lost();
    answering.T1({20.0});
    EXPECT_TRUE(answering.engine.SetSettings(lost, answering.now).empty());
}

TEST(MeterLost, ALossRestartsHolds) {
    AlarmSettings settings = T1Limits(85.0);
    settings.Channels[0].Hold = 2s;
    AlarmRig rig(settings);
    rig.T1({86, 86});
    rig.Lost();
    EXPECT_TRUE(rig.T1({86, 86}).empty());
    EXPECT_EQ(rig.T1({86}).size(), 1u);
}

TEST(AlarmUnits, LimitsKeepTheirTemperatureWhenTheMeterChangesUnit) {
    AlarmRig rig(T1Limits(85.0));  // Celsius, hysteresis 0.5 C = 0.9 F
    rig.T1({85.1});
    EXPECT_TRUE(rig.T1({185.0, 184.1}, DisplayUnit::Fahrenheit).empty())
        << "84.5 C is not past the hysteresis in either unit";
    const auto cleared = rig.T1({184.0}, DisplayUnit::Fahrenheit);
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_DOUBLE_EQ(*cleared[0].Limit, 185.0);
    EXPECT_EQ(cleared[0].Unit, DisplayUnit::Fahrenheit);

    EXPECT_TRUE(rig.T1({185.0}, DisplayUnit::Fahrenheit).empty());
    const auto raised = rig.T1({185.1}, DisplayUnit::Fahrenheit);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_DOUBLE_EQ(*raised[0].Value, 185.1);
}

TEST(AlarmUnits, LimitsWithoutAUnitTakeTheFirstReadingsUnit) {
    AlarmSettings settings = T1Limits(85.0);
    settings.LimitUnit.reset();
    AlarmRig rig(settings);
    EXPECT_TRUE(rig.T1({84.0}, DisplayUnit::Fahrenheit).empty());
    EXPECT_EQ(rig.engine.LimitUnit(), DisplayUnit::Fahrenheit);
    EXPECT_EQ(rig.T1({85.1}, DisplayUnit::Fahrenheit).size(), 1u) << "85 F, not 85 C";
}

TEST(AlarmAcknowledge, BeforeTheClearTheClearEndsIt) {
    AlarmRig rig(T1Limits(85.0));
    rig.T1({86});
    const QDateTime ackAt = rig.now;
    const auto ack = rig.engine.Acknowledge(kT1High, ackAt);
    ASSERT_EQ(ack.size(), 1u);
    EXPECT_EQ(ack[0].Change, AlarmChange::Acknowledged);
    EXPECT_EQ(ack[0].Time, ackAt);
    EXPECT_DOUBLE_EQ(*ack[0].Value, 86.0) << "the raise's value";
    EXPECT_EQ(rig.Phase(kT1High), AlarmPhase::Acknowledged);
    EXPECT_TRUE(rig.engine.Acknowledge(kT1High, ackAt).empty()) << "once is enough";

    EXPECT_EQ(rig.T1({80}).size(), 1u);
    EXPECT_EQ(rig.Phase(kT1High), AlarmPhase::Normal);
}

TEST(AlarmAcknowledge, AfterTheClearTheAlarmWaitsForIt) {
    AlarmRig rig(T1Limits(85.0));
    rig.T1({86, 80});
    const AlarmStatus& status = rig.engine.Status(kT1High);
    EXPECT_EQ(status.Phase, AlarmPhase::Cleared);
    EXPECT_TRUE(status.WantsAcknowledge());
    EXPECT_FALSE(status.IsActive());
    EXPECT_DOUBLE_EQ(*status.LastRaise->Value, 86.0);
    EXPECT_DOUBLE_EQ(*status.LastClear->Value, 80.0);

    EXPECT_EQ(rig.engine.AcknowledgeAll(rig.now).size(), 1u);
    EXPECT_EQ(rig.Phase(kT1High), AlarmPhase::Normal);
    EXPECT_TRUE(rig.engine.AcknowledgeAll(rig.now).empty());

    rig.T1({86, 80, 86});
    EXPECT_EQ(rig.Phase(kT1High), AlarmPhase::Raised) << "raised again before anyone looked";
}

TEST(AlarmSettingsChange, SwitchingAnActiveAlarmOffClearsIt) {
    AlarmRig rig(T1Limits(85.0));
    rig.T1({86});
    const auto cleared = rig.engine.SetSettings(AlarmSettings{}, rig.now);
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_EQ(cleared[0].Change, AlarmChange::Cleared);
    EXPECT_EQ(rig.Phase(kT1High), AlarmPhase::Normal);
    EXPECT_TRUE(rig.T1({90}).empty());
}

}  // namespace
}  // namespace kr820::core
