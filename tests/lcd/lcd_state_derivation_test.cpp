// SPDX-License-Identifier: MIT
// Live frames parsed into the reading, and the reading turned into the icon word, the display
// digits and the blink timers' demand. Icon bits are written as numbers from the meter's display
// layout, so that a slip in the decoder's icon table cannot hide itself.
#include "lcd/lcd_state_derivation.h"

#include <gtest/gtest.h>

#include "core/live/live_frame_parser.h"
#include "unit/live/live_frame_builder.h"

namespace kr820::lcd {
namespace {

using namespace test_support;
using namespace core;

constexpr quint8 B = 11;  // blank
constexpr quint8 D = 10;  // dash

constexpr quint32 Bit(int n) { return quint32{1} << n; }
constexpr int kAutoOff = 0, kPrinter = 2, kRec = 3, kMax = 4, kMin = 5, kRel = 6, kT1 = 7, kT2 = 8,
              kMinus = 9, kK = 10, kJ = 11, kSubPoint2 = 12, kSubPoint1 = 13, kC = 14, kF = 15,
              kMPoint3 = 20, kMPoint4 = 21, kLowBattery = 22, kSubT1 = 25, kSubT2 = 26, kSubF = 27,
              kSubC = 28;

struct Decoder {
    LiveReading reading;
    bool meterRecording = false;
    LcdState lcd;
    BlinkTimerDemand blink;

    Decoder& Decode(const LiveFrameFields& fields) {
        reading = ParseLiveFrame(LiveFrame(fields));
        meterRecording = reading.MeterLogging();
        blink = DeriveLcdState(reading, lcd);
        return *this;
    }
    quint32 Icons() const { return lcd.LcdIcons; }
};

TEST(LiveFrameDecoder, ReadingHoldsTheFramesValuesInCelsius) {
    LiveFrameFields f;
    f.Status(0x5A, 0xC3).tenths = {253, -57, 100, -1, 0, 32767, -32768, 13720};
    f.t2Invalid = 0x02;
    f.t1Invalid = 0x01;
    Decoder d;
    d.Decode(f);
    EXPECT_EQ(d.reading.Status, 0x5AC3);
    EXPECT_EQ(d.reading.Invalid, 0x0201);
    const float expected[8] = {25.3f, -5.7f, 10.0f, -0.1f, 0.0f, 3276.7f, -3276.8f, 1372.0f};
    for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(d.reading.Celsius[i], expected[i]) << i;
}

TEST(LiveFrameDecoder, EachStatusBitTurnsItsIconsOnAndTheirOppositesOff) {
    // Celsius, type K, T1 on the main display, points before the last digit
    constexpr quint32 plain =
        Bit(kT1) | Bit(kK) | Bit(kSubPoint2) | Bit(kC) | Bit(kMPoint4) | Bit(kSubT2) | Bit(kSubC);
    struct Case {
        const char* what;
        quint8 a, b;
        quint32 on, off;
    } const cases[] = {
        {"nothing set", 0, 0, 0, 0},
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
        {"REC steady", 0, kB_RecSteady, Bit(kRec), 0},
        {"MAX", 0, kB_ModeMax, Bit(kMax), 0},
        {"MIN", 0, kB_ModeMin, Bit(kMin), 0},
        // blinking is left to the timers
        {"MAX and MIN blinking", 0, kB_ModeBlink, 0, 0},
        {"REC blinking", kA_RecBlink, kB_RecSteady, 0, 0},
    };
    for (const Case& c : cases) {
        Decoder d;
        EXPECT_EQ(d.Decode(Readings(253, 200, c.a, c.b)).Icons(), (plain | c.on) & ~c.off)
            << c.what;
    }
}

TEST(LiveFrameDecoder, IconsWithoutAMeterSourceAreNeverSet) {
    // AC, mV, mA, the first two main points, the sub K and J, the colons
    const quint32 never = Bit(1) | Bit(16) | Bit(17) | Bit(18) | Bit(19) | Bit(23) | Bit(24) |
                          Bit(29) | Bit(30) | Bit(31);
    Decoder d;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b)
            ASSERT_EQ(d.Decode(Readings(-253, -200, a, b)).Icons() & never, 0u) << a << " " << b;
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
    d.Decode(f.Status(0, kB_ModeMax));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 3, 3, 3, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{B, B, B, 4, 4, 4, 0}));
    d.Decode(f.Status(kA_Rel, kB_ModeMin));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 1, 1, 1, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{B, B, B, 2, 2, 2, 0}));
    // REL differences, also while MAX and MIN blink; the sub sign is its first digit
    for (quint8 mode : {quint8(0), kB_ModeBlink}) {
        d.Decode(f.Status(kA_Rel, mode));
        EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 2, 5, 0, 0}));
        EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{D, B, B, 3, 0, 0, 0}));
    }
}

TEST(LiveFrameDecoder, FahrenheitIsForTheDisplayOnlyAndRelIsADifference) {
    Decoder d;
    d.Decode(Readings(250, -400, 0, kB_Fahrenheit));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, 7, 7, 0, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{D, B, B, 4, 0, 0, 0}));
    EXPECT_FLOAT_EQ(d.reading.Celsius[0], 25.0f);

    LiveFrameFields rel = Readings(260, 0, kA_Rel, kB_Fahrenheit);
    rel.tenths[2] = 250;
    EXPECT_EQ(d.Decode(rel).lcd.MainDigits, (DigitBuffer{'+', B, B, B, 1, 8, 0}));
    // The widest difference a frame can carry needs six digits in Fahrenheit.
    rel.tenths = {32767, 0, -32768};
    EXPECT_EQ(d.Decode(rel).lcd.MainDigits, (DigitBuffer{'+', D, D, D, D, D, 0}));
    EXPECT_EQ(d.Decode(rel.Status(kA_Rel, 0)).lcd.MainDigits, (DigitBuffer{'+', 6, 5, 5, 3, 5, 0}));
}

TEST(LiveFrameDecoder, MainMinusIsAnIconAndTheSubSignIsItsFirstDigit) {
    Decoder d;
    d.Decode(Readings(-50, 57));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'-', B, B, B, 5, 0, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{B, B, B, B, 5, 7, 0}));
    EXPECT_TRUE(d.Icons() & Bit(kMinus));
    // swapped: T2 on the main display
    d.Decode(Readings(-50, 57, 0, kB_T2OnMain));
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'+', B, B, B, 5, 7, 0}));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{D, B, B, B, 5, 0, 0}));
    EXPECT_FALSE(d.Icons() & Bit(kMinus));
}

TEST(LiveFrameDecoder, InvalidChannelShowsDashesAndKeepsTheMainMinus) {
    LiveFrameFields invalid = Readings(253, -57);
    invalid.t1Invalid = 0x01;
    invalid.t2Invalid = 0x02;
    Decoder d;
    d.Decode(invalid);  // no valid value yet: no sign to keep
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{B, D, D, D, D, D, D}));
    EXPECT_FALSE(d.Icons() & Bit(kMinus));

    d.Decode(Readings(-50, -57));
    d.Decode(invalid);
    EXPECT_EQ(d.lcd.MainDigits, (DigitBuffer{'-', D, D, D, D, D, D}));
    EXPECT_TRUE(d.Icons() & Bit(kMinus));
    EXPECT_EQ(d.lcd.SubDigits, (DigitBuffer{B, D, D, D, D, D, D}));
    EXPECT_FLOAT_EQ(d.reading.Celsius[0], 25.3f);
}

}  // namespace
}  // namespace kr820::lcd
