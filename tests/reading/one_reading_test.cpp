// SPDX-License-Identifier: MIT
// One answer to "does this channel have a value" for every reader of a live reading: every bit of
// the invalid word, in both units, through the LCD, the rows of `live`, the alarms of `watch` and
// the desktop, the store's rows, the feeds and the fixed-length recorder (which keeps its own,
// older rule: only bits 0 and 1).
#include <gtest/gtest.h>

#include <QDateTime>

#include "cli/live_rows.h"
#include "core/alarms/alarm_engine.h"
#include "core/live/live_frame_parser.h"
#include "core/realtime/real_time_sample.h"
#include "feeds/feed_reading.h"
#include "lcd/lcd_state_derivation.h"
#include "store/stored_reading_of.h"
#include "unit/live/live_frame_builder.h"

namespace kr820 {
namespace {

using core::Channel;

constexpr qint16 kT1Tenths = 253;   // 25.3 °C, 77.54 °F
constexpr qint16 kT2Tenths = -124;  // -12.4 °C, 9.68 °F

struct Case {
    int bit;  // of the invalid word: 0-7 T1's byte, 8-15 T2's; -1 none
    bool fahrenheit;
};

std::string NameOf(const testing::TestParamInfo<Case>& info) {
    const std::string unit = info.param.fahrenheit ? "F" : "C";
    if (info.param.bit < 0) return "NoBit_" + unit;
    return "Bit" + std::to_string(info.param.bit) + "_" + unit;
}

std::vector<Case> AllCases() {
    std::vector<Case> cases;
    for (const bool fahrenheit : {false, true})
        for (int bit = -1; bit < 16; ++bit) cases.push_back({bit, fahrenheit});
    return cases;
}

bool Dashes(const core::DigitBuffer& digits) {
    for (int i = 1; i <= 5; ++i)
        if (digits[i] != core::kDigitDash) return false;
    return true;
}

class OneReadingTest : public testing::TestWithParam<Case> {
protected:
    OneReadingTest() {
        const Case c = GetParam();
        test_support::LiveFrameFields fields = test_support::Readings(
            kT1Tenths, kT2Tenths, 0, c.fahrenheit ? test_support::kB_Fahrenheit : 0);
        const quint16 word = c.bit < 0 ? 0 : static_cast<quint16>(1u << c.bit);
        fields.t1Invalid = static_cast<quint8>(word & 0xFF);
        fields.t2Invalid = static_cast<quint8>(word >> 8);
        reading = core::ParseLiveFrame(test_support::LiveFrame(fields));
        reading.ReadAtMs = 1'700'000'000'000;
        hasT1 = c.bit < 0 || c.bit >= 8;
        hasT2 = c.bit < 8;
        fixedLengthT1OutOfRange = c.bit == 0 || c.bit == 1;
        fixedLengthT2OutOfRange = c.bit == 8 || c.bit == 9;
        t1Shown = c.fahrenheit ? 25.3 * 1.8 + 32.0 : 25.3;
        t2Shown = c.fahrenheit ? -12.4 * 1.8 + 32.0 : -12.4;
    }

    core::LiveReading reading;
    bool hasT1 = true;
    bool hasT2 = true;
    bool fixedLengthT1OutOfRange = false;
    bool fixedLengthT2OutOfRange = false;
    double t1Shown = 0;
    double t2Shown = 0;
};

TEST_P(OneReadingTest, EveryReaderTakesTheReadingsAnswer) {
    // The reading's own answer.
    ASSERT_EQ(reading.Shown(Channel::T1).has_value(), hasT1);
    ASSERT_EQ(reading.Shown(Channel::T2).has_value(), hasT2);
    if (hasT1) {
        EXPECT_NEAR(*reading.Shown(Channel::T1), t1Shown, 1e-9);
    }
    if (hasT2) {
        EXPECT_NEAR(*reading.Shown(Channel::T2), t2Shown, 1e-9);
    }
    if (hasT1) {
        EXPECT_NEAR(*reading.InCelsius(Channel::T1), 25.3, 1e-9);
    }

    // The LCD: dashes where there is no value (T1 on the main display, T2 on the sub display).
    core::LcdState lcd;
    lcd::DeriveLcdState(reading, lcd);
    EXPECT_EQ(Dashes(lcd.MainDigits), !hasT1) << "LCD T1";
    EXPECT_EQ(Dashes(lcd.SubDigits), !hasT2) << "LCD T2";

    // `live`: the row's values.
    const core::ReadingRow row = cli::RowOfReading(reading, reading.ReadAtMs / 1000);
    EXPECT_EQ(row.T1, reading.Shown(Channel::T1)) << "live T1";
    EXPECT_EQ(row.T2, reading.Shown(Channel::T2)) << "live T2";

    // The alarms of the desktop and of `watch`: one engine, the probe fault raised exactly where
    // there is no value.
    core::AlarmSettings settings;
    settings.Channels[0].ProbeFault = true;
    settings.Channels[1].ProbeFault = true;
    core::AlarmEngine engine(settings);
    const core::AlarmReading watched = core::AlarmReadingOf(reading);
    EXPECT_EQ(watched.T1, reading.Shown(Channel::T1)) << "alarms T1";
    EXPECT_EQ(watched.T2, reading.Shown(Channel::T2)) << "alarms T2";
    engine.TakeReading(watched);
    EXPECT_EQ(engine.Status({core::AlarmKind::ProbeFault, core::AlarmChannel::T1}).IsActive(),
              !hasT1);
    EXPECT_EQ(engine.Status({core::AlarmKind::ProbeFault, core::AlarmChannel::T2}).IsActive(),
              !hasT2);

    // The store, written by the desktop and by `live --store` alike.
    const store::StoredReading stored = store::StoredReadingOf(reading, reading.ReadAtMs);
    EXPECT_EQ(stored.T1Valid, hasT1) << "store T1";
    EXPECT_EQ(stored.T2Valid, hasT2) << "store T2";
    if (hasT1) {
        EXPECT_FLOAT_EQ(stored.T1, static_cast<float>(t1Shown));
    }
    EXPECT_EQ(stored.Fahrenheit, GetParam().fahrenheit);

    // The feeds: in the unit shown and in Celsius.
    const feeds::FeedReading fed = feeds::FeedReadingOf(reading);
    EXPECT_EQ(fed.T1, reading.Shown(Channel::T1)) << "feeds T1";
    EXPECT_EQ(fed.T2, reading.Shown(Channel::T2)) << "feeds T2";
    EXPECT_EQ(fed.T1Celsius, reading.InCelsius(Channel::T1));
    EXPECT_EQ(fed.T2Celsius, reading.InCelsius(Channel::T2));
    EXPECT_EQ(fed.ReadAtMs, reading.ReadAtMs);

    // The fixed-length recorder: its own rule, bits 0 and 1 only, and the value kept either way.
    const core::RealTimeSample sample = core::RealTimeSampleOf(reading);
    EXPECT_EQ(sample.T1OutOfRange, fixedLengthT1OutOfRange) << "recorder T1";
    EXPECT_EQ(sample.T2OutOfRange, fixedLengthT2OutOfRange) << "recorder T2";
    EXPECT_NEAR(sample.T1, t1Shown, 1e-4);
    EXPECT_EQ(sample.Unit, GetParam().fahrenheit ? 'F' : 'C');
}

INSTANTIATE_TEST_SUITE_P(InvalidWordAndUnit, OneReadingTest, testing::ValuesIn(AllCases()), NameOf);

}  // namespace
}  // namespace kr820
