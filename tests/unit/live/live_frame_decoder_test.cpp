// SPDX-License-Identifier: MIT
// Live frames as the meter sends them, decoded into the reading, the icon word, the display
// digits and the blink timers' demand. Icon bits are written as numbers, straight from the
// meter's display layout, so that a slip in the decoder's icon table cannot hide itself.
#include "core/live/live_frame_decoder.h"

#include <gtest/gtest.h>

#include "unit/live/live_frame_builder.h"

namespace kr820::core {
namespace {

using test_support::LiveFrame;
using test_support::LiveFrameFields;
using test_support::Readings;

constexpr quint8 B = 11;  // blank
constexpr quint8 D = 10;  // dash

constexpr quint32 Bit(int n) { return quint32{1} << n; }

// Icon bits
constexpr int kAutoOff = 0, kPrinter = 2, kRec = 3, kMax = 4, kMin = 5, kRel = 6, kT1 = 7, kT2 = 8,
              kMinus = 9, kK = 10, kJ = 11, kSubPoint2 = 12, kSubPoint1 = 13, kC = 14, kF = 15,
              kMPoint3 = 20, kMPoint4 = 21, kLowBattery = 22, kSubT1 = 25, kSubT2 = 26, kSubF = 27,
              kSubC = 28;

// Status A
constexpr quint8 kA_AutoOff = 0x01, kA_Rel = 0x02, kA_LowBattery = 0x04, kA_RecBlink = 0x08,
                 kA_T1Point2 = 0x10, kA_T2Point2 = 0x20, kA_Printer = 0x40;
// Status B
constexpr quint8 kB_TypeJ = 0x01, kB_RecSteady = 0x08, kB_ModeMax = 0x10, kB_ModeMin = 0x20,
                 kB_ModeBlink = 0x30, kB_Fahrenheit = 0x40, kB_T2OnMain = 0x80;

// Celsius, type K, T1 on the main display, points before the last digit.
constexpr quint32 kPlainIcons =
    Bit(kT1) | Bit(kK) | Bit(kSubPoint2) | Bit(kC) | Bit(kMPoint4) | Bit(kSubT2) | Bit(kSubC);

struct Decoder {
    LiveReading reading;
    bool meterRecording = false;
    LcdState lcd;
    BlinkTimerDemand blink;

    Decoder& Decode(const LiveFrameFields& fields) {
        blink = DecodeLiveFrame(LiveFrame(fields), reading, meterRecording, lcd);
        return *this;
    }
    quint32 Icons() const { return lcd.LcdIcons; }
};

LiveFrameFields WithStatus(LiveFrameFields f, quint8 a, quint8 b) {
    f.statusA = a;
    f.statusB = b;
    return f;
}

TEST(LiveFrameDecoder, ReadingHoldsTheFramesValuesInCelsius) {
    LiveFrameFields f;
    f.statusA = 0x5A;
    f.statusB = 0xC3;
    f.tenths = {253, -57, 100, -1, 0, 32767, -32768, 13720};
    f.t2Invalid = 0x02;
    f.t1Invalid = 0x01;
    Decoder d;
    d.Decode(f);
    EXPECT_EQ(d.reading.Status, 0x5AC3);
    EXPECT_EQ(d.reading.Invalid, 0x0201);
    const float expected[8] = {25.3f, -5.7f, 10.0f, -0.1f, 0.0f, 3276.7f, -3276.8f, 1372.0f};
    for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(d.reading.Celsius[i], expected[i]) << i;
    EXPECT_FLOAT_EQ(d.reading.Value(LiveValue::T2Max), 1372.0f);
}

TEST(LiveFrameDecoder, MeterRecordingFollowsTheSteadyRecBit) {
    Decoder d;
    EXPECT_TRUE(d.Decode(WithStatus({}, 0, kB_RecSteady)).meterRecording);
    EXPECT_FALSE(d.Decode(WithStatus({}, kA_RecBlink, 0)).meterRecording);
    EXPECT_TRUE(d.Decode(WithStatus({}, kA_RecBlink, kB_RecSteady)).meterRecording);
    EXPECT_FALSE(d.Decode(WithStatus({}, 0, 0)).meterRecording);
}

TEST(LiveFrameDecoder, PlainFrameShowsOnlyTheChannelTypeUnitAndPointIcons) {
    Decoder d;
    EXPECT_EQ(d.Decode(Readings(253, 200)).Icons(), kPlainIcons);
}

TEST(LiveFrameDecoder, EachStatusBitTurnsItsIconsOnAndTheirOppositesOff) {
    struct Case {
        const char* what;
        quint8 a, b;
        quint32 on, off;
    } const cases[] = {
        {"auto power-off", kA_AutoOff, 0, Bit(kAutoOff), 0},
        {"REL", kA_Rel, 0, Bit(kRel), 0},
        {"low battery", kA_LowBattery, 0, Bit(kLowBattery), 0},
        {"printer", kA_Printer, 0, Bit(kPrinter), 0},
        {"type J", 0, kB_TypeJ, Bit(kJ), Bit(kK)},
        {"type code 2 is K", 0, 0x02, 0, 0},
        {"type code 3 is K", 0, 0x03, 0, 0},
        {"Fahrenheit", 0, kB_Fahrenheit, Bit(kF) | Bit(kSubF), Bit(kC) | Bit(kSubC)},
        {"T2 on main", 0, kB_T2OnMain, Bit(kT2) | Bit(kSubT1), Bit(kT1) | Bit(kSubT2)},
        {"T1 point", kA_T1Point2, 0, Bit(kMPoint3), Bit(kMPoint4)},
        {"T2 point", kA_T2Point2, 0, Bit(kSubPoint1), Bit(kSubPoint2)},
        {"T1 point, T1 on sub", kA_T1Point2, kB_T2OnMain, Bit(kSubPoint1) | Bit(kT2) | Bit(kSubT1),
         Bit(kSubPoint2) | Bit(kT1) | Bit(kSubT2)},
        {"T2 point, T2 on main", kA_T2Point2, kB_T2OnMain, Bit(kMPoint3) | Bit(kT2) | Bit(kSubT1),
         Bit(kMPoint4) | Bit(kT1) | Bit(kSubT2)},
        {"REC steady", 0, kB_RecSteady, Bit(kRec), 0},
        {"MAX", 0, kB_ModeMax, Bit(kMax), 0},
        {"MIN", 0, kB_ModeMin, Bit(kMin), 0},
    };
    for (const Case& c : cases) {
        Decoder d;
        EXPECT_EQ(d.Decode(WithStatus(Readings(253, 200), c.a, c.b)).Icons(),
                  (kPlainIcons | c.on) & ~c.off)
            << c.what;
    }
}

TEST(LiveFrameDecoder, IconsWithoutAMeterSourceAreNeverSet) {
    // AC, mV, mA, the first two main points, the sub K and J, the colons
    const quint32 never = Bit(1) | Bit(16) | Bit(17) | Bit(18) | Bit(19) | Bit(23) | Bit(24) |
                          Bit(29) | Bit(30) | Bit(31);
    Decoder d;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            LiveFrameFields f = WithStatus(Readings(-253, -200), quint8(a), quint8(b));
            ASSERT_EQ(d.Decode(f).Icons() & never, 0u) << a << " " << b;
        }
    }
}

TEST(LiveFrameDecoder, BlinkingIconsAreLeftToTheTimers) {
    Decoder d;
    d.Decode(WithStatus({}, kA_RecBlink, kB_RecSteady));
    EXPECT_TRUE(d.blink.recBlinkTimerRuns);
    EXPECT_FALSE(d.blink.blinkTimerRuns);
    EXPECT_EQ(d.Icons() & Bit(kRec), 0u);

    d.Decode(WithStatus({}, 0, kB_ModeBlink));
    EXPECT_TRUE(d.blink.blinkTimerRuns);
    EXPECT_FALSE(d.blink.recBlinkTimerRuns);
    EXPECT_EQ(d.Icons() & (Bit(kMax) | Bit(kMin) | Bit(kRec)), 0u);

    for (quint8 steadyMode : {quint8(0), kB_ModeMax, kB_ModeMin}) {
        d.Decode(WithStatus({}, 0, steadyMode | kB_RecSteady));
        EXPECT_FALSE(d.blink.blinkTimerRuns) << int(steadyMode);
        EXPECT_FALSE(d.blink.recBlinkTimerRuns) << int(steadyMode);
    }
}

TEST(LiveFrameDecoder, ModeChoosesWhichValuesTheDisplaysShow) {
    LiveFrameFields f;
    // T1, T2, T1 REL, T2 REL, T1 MIN, T2 MIN, T1 MAX, T2 MAX
    f.tenths = {253, 200, 3, 500, 111, 222, 333, 444};
    Decoder d;
    d.Decode(f);
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 2, 5, 3, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{B, B, B, 2, 0, 0, 0}));

    d.Decode(WithStatus(f, 0, kB_ModeMax));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 3, 3, 3, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{B, B, B, 4, 4, 4, 0}));

    d.Decode(WithStatus(f, kA_Rel, kB_ModeMin));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 1, 1, 1, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{B, B, B, 2, 2, 2, 0}));

    d.Decode(WithStatus(f, kA_Rel, 0));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 2, 5, 0, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{D, B, B, 3, 0, 0, 0}));
    EXPECT_TRUE(d.Icons() & Bit(kRel));
}

TEST(LiveFrameDecoder, MaxMinBlinkingWithRelShowsTheRelDifferences) {
    LiveFrameFields f;
    f.tenths = {253, 200, 3, 500, 111, 222, 333, 444};
    Decoder d;
    d.Decode(WithStatus(f, kA_Rel, kB_ModeBlink));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 2, 5, 0, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{D, B, B, 3, 0, 0, 0}));
    EXPECT_TRUE(d.blink.blinkTimerRuns);
    EXPECT_EQ(d.Icons() & (Bit(kMax) | Bit(kMin)), 0u);
}

TEST(LiveFrameDecoder, FahrenheitIsConvertedForTheDisplayOnly) {
    Decoder d;
    d.Decode(WithStatus(Readings(250, -400), 0, kB_Fahrenheit));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 7, 7, 0, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{D, B, B, 4, 0, 0, 0}));
    EXPECT_FLOAT_EQ(d.reading.Value(LiveValue::T1), 25.0f);

    // In REL mode a difference of 1.0 degree C is 1.8 degrees F, without the offset.
    LiveFrameFields rel = Readings(260, 0);
    rel.tenths[2] = 250;
    d.Decode(WithStatus(rel, kA_Rel, kB_Fahrenheit));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, B, 1, 8, 0}));
}

TEST(LiveFrameDecoder, SwappedChannelsPutT2OnTheMainDisplay) {
    Decoder d;
    d.Decode(WithStatus(Readings(-57, 253), 0, kB_T2OnMain));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 2, 5, 3, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{D, B, B, B, 5, 7, 0}));
    EXPECT_EQ(d.Icons() & Bit(kMinus), 0u);
}

TEST(LiveFrameDecoder, MainMinusIsAnIconAndTheSubSignIsItsFirstDigit) {
    Decoder d;
    d.Decode(Readings(-50, 57));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'-', B, B, B, 5, 0, 0}));
    EXPECT_TRUE(d.Icons() & Bit(kMinus));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{B, B, B, B, 5, 7, 0}));

    d.Decode(Readings(50, -57));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, B, 5, 0, 0}));
    EXPECT_FALSE(d.Icons() & Bit(kMinus));
    EXPECT_EQ(d.lcd.SubDigits[0], D);
}

TEST(LiveFrameDecoder, InvalidMainChannelKeepsTheMinusOfTheLastValidValue) {
    Decoder d;
    LiveFrameFields invalidT1 = Readings(253, 200);
    invalidT1.t1Invalid = 0x01;

    d.Decode(invalidT1);  // no valid value yet: nothing to keep
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{B, D, D, D, D, D, D}));
    EXPECT_FALSE(d.Icons() & Bit(kMinus));

    d.Decode(Readings(-50, 200));
    d.Decode(invalidT1);
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'-', D, D, D, D, D, D}));
    EXPECT_TRUE(d.Icons() & Bit(kMinus));
    EXPECT_FLOAT_EQ(d.reading.Value(LiveValue::T1), 25.3f);
    EXPECT_EQ(d.reading.Invalid, 0x0001);
}

TEST(LiveFrameDecoder, InvalidSubChannelShowsABlankSignAndDashes) {
    Decoder d;
    d.Decode(Readings(253, -57));
    LiveFrameFields invalidT2 = Readings(253, -57);
    invalidT2.t2Invalid = 0x02;
    d.Decode(invalidT2);
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{B, D, D, D, D, D, D}));
}

TEST(LiveFrameDecoder, ExtremeRelDifferenceInFahrenheitShowsDashes) {
    LiveFrameFields f = Readings(32767, 0);
    f.tenths[2] = -32768;  // T1 REL reference
    Decoder d;
    d.Decode(WithStatus(f, kA_Rel, 0));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', 6, 5, 5, 3, 5, 0}));
    d.Decode(WithStatus(f, kA_Rel, kB_Fahrenheit));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', D, D, D, D, D, 0}));
}

TEST(LiveFrameDecoder, LeavesThePaintedStateToThePainter) {
    Decoder d;
    d.Decode(WithStatus(Readings(-253, -200), kA_Rel | kA_AutoOff, kB_RecSteady));
    EXPECT_EQ(d.lcd.ShownIcons, 0u);
    EXPECT_EQ(d.lcd.PaintedMainDigits, kBlankDigits);
    EXPECT_EQ(d.lcd.PaintedSubDigits, kBlankDigits);
}

}  // namespace
}  // namespace kr820::core
