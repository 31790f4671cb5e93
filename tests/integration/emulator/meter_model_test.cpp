// SPDX-License-Identifier: MIT
// The meter's readings over time, stepped through by hand: minutes of wave without a wait.
#include "meter_model.h"

#include <gtest/gtest.h>

#include "hex.h"
#include "meter_replies.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono_literals;
using testing::ToHex;

MeterState Centred(std::int16_t t1TenthsC, std::int16_t t2TenthsC) {
    MeterState state;
    state.t1 = {t1TenthsC, 0, t1TenthsC, t1TenthsC, 0};
    state.t2 = {t2TenthsC, 0, t2TenthsC, t2TenthsC, 0};
    return state;
}

Motion Waving(std::optional<std::chrono::milliseconds> t2OutOfRangeAfter = std::nullopt) {
    Motion motion;
    motion.wave = true;
    motion.t2OutOfRangeAfter = t2OutOfRangeAfter;
    return motion;
}

MeterModel WavingFrom(const MeterState& state) {
    MeterModel model;
    model.SetScripted(state);
    model.SetMotion(Waving());
    return model;
}

TEST(MeterModel, WithoutMotionReportsTheScriptByteForByte) {
    // The application's tests script odd pictures, such as a MIN above the reading; a model
    // that "corrected" them would break those tests silently.
    MeterState state;
    state.t1 = {253, 12, 400, 100, 0};
    state.t2 = {-125, 0, 0, 0, 1};
    state.statusB = kStatusBModeMin;
    MeterModel model;
    model.SetScripted(state);
    for (const auto at : {0ms, 15'000ms, 3'600'000ms}) {
        model.AdvanceTo(at);
        EXPECT_EQ(ToHex(EncodeLiveFrame(model.Reported())), ToHex(EncodeLiveFrame(state)))
            << at.count();
    }
}

TEST(MeterModel, WaveSwingsEachChannelWithItsOwnPeriod) {
    MeterModel model = WavingFrom(Centred(253, 100));
    const struct {
        std::chrono::milliseconds at;
        std::int16_t t1;
        std::int16_t t2;
    } expected[] = {
        // T1 +-5.0 over 60 s from its centre; T2 +-3.0 over 180 s, a quarter period ahead.
        // At 180.4 s the measurement of 180 s still stands.
        {0ms, 253, 130},     {15'000ms, 303, 126},  {30'000ms, 253, 115},  {45'000ms, 203, 100},
        {90'000ms, 253, 70}, {180'000ms, 253, 130}, {180'400ms, 253, 130},
    };
    for (const auto& e : expected) {
        model.AdvanceTo(e.at);
        EXPECT_EQ(model.Reported().t1.tenthsC, e.t1) << e.at.count();
        EXPECT_EQ(model.Reported().t2.tenthsC, e.t2) << e.at.count();
    }
}

TEST(MeterModel, MinAndMaxHoldWhatWasMeasuredBetweenPolls) {
    MeterModel model = WavingFrom(Centred(253, 100));
    // One poll at 50 s: the peak at 15 s and the trough at 45 s came and went unpolled.
    model.AdvanceTo(50'000ms);
    const MeterState state = model.Reported();
    EXPECT_EQ(state.t1.tenthsC, 210);
    EXPECT_EQ(state.t1.maxTenthsC, 303);
    EXPECT_EQ(state.t1.minTenthsC, 203);
    EXPECT_EQ(state.t2.maxTenthsC, 130);
    EXPECT_EQ(state.t2.tenthsC, 95);     // falling since 0 s towards 7.0 at 90 s,
    EXPECT_EQ(state.t2.minTenthsC, 95);  // so its MIN is the reading itself

    // Time running backwards (a caller's mistake) changes nothing.
    model.AdvanceTo(10'000ms);
    EXPECT_EQ(ToHex(EncodeLiveFrame(model.Reported())), ToHex(EncodeLiveFrame(state)));
}

TEST(MeterModel, NewScriptUnderTheWaveMovesTheCentreAndKeepsOrRestartsExtremes) {
    MeterState script = Centred(253, 100);
    MeterModel model = WavingFrom(script);
    model.AdvanceTo(60'000ms);  // a whole T1 period: extremes 20.3 and 30.3

    script.t1.tenthsC = 500;  // a hotter probe: read at once, not at the next measurement
    model.SetScripted(script);
    EXPECT_EQ(model.Reported().t1.tenthsC, 500);
    EXPECT_EQ(model.Reported().t1.minTenthsC, 203);
    EXPECT_EQ(model.Reported().t1.maxTenthsC, 500);

    script.t1.minTenthsC = 450;  // MIN reset on the meter: it starts again from there
    model.SetScripted(script);
    model.AdvanceTo(75'000ms);
    EXPECT_EQ(model.Reported().t1.tenthsC, 550);
    EXPECT_EQ(model.Reported().t1.minTenthsC, 450);
    EXPECT_EQ(model.Reported().t1.maxTenthsC, 550);

    model.SetMotion({});  // wave off: the script again, exactly
    EXPECT_EQ(ToHex(EncodeLiveFrame(model.Reported())), ToHex(EncodeLiveFrame(script)));
}

TEST(MeterModel, ChannelsWithoutValidValuesLeaveTheirExtremesAlone) {
    MeterState script = Centred(253, 100);
    script.t1.invalid = 1;
    MeterModel model;
    model.SetScripted(script);
    model.SetMotion(Waving(10'000ms));

    model.AdvanceTo(9'500ms);
    EXPECT_EQ(model.Reported().t2.invalid, 0);
    EXPECT_NE(model.Reported().t2.tenthsC, kOutOfRangeTenthsC);

    model.AdvanceTo(100'000ms);
    const MeterState state = model.Reported();
    EXPECT_EQ(state.t2.invalid, 1);
    EXPECT_EQ(state.t2.tenthsC, kOutOfRangeTenthsC);
    EXPECT_EQ(state.t2.maxTenthsC, 130);  // the valid part of the wave only
    EXPECT_GT(state.t2.minTenthsC, 70);   // the trough at 90 s came after the probe went
    EXPECT_EQ(state.t1.invalid, 1);
    EXPECT_EQ(state.t1.minTenthsC, 253);  // a dashed channel measured nothing
    EXPECT_EQ(state.t1.maxTenthsC, 253);
    EXPECT_NE(state.t1.tenthsC, 253);  // though its raw value still moves
}

}  // namespace
}  // namespace kr820::emulator
