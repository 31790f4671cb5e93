// SPDX-License-Identifier: MIT
// How a reading becomes the sign and five digit codes of a display.
#include "core/live/display_digits.h"

#include <gtest/gtest.h>

#include <limits>

namespace kr820::core {
namespace {

constexpr quint8 B = 11;  // blank
constexpr quint8 D = 10;  // dash

DigitBuffer Format(float celsius, DisplayUnit unit = DisplayUnit::Celsius, bool rel = false) {
    DigitBuffer buffer = kBlankDigits;
    FormatDisplayDigits(buffer, 0, celsius, unit, rel);
    return buffer;
}

TEST(DisplayDigits, ShowsTenthsWithSignAndBlanksLeadingZeros) {
    EXPECT_EQ(Format(25.3f), (DigitBuffer{'+', B, B, 2, 5, 3, 0}));
    EXPECT_EQ(Format(-5.0f), (DigitBuffer{'-', B, B, B, 5, 0, 0}));
    EXPECT_EQ(Format(0.0f), (DigitBuffer{'+', B, B, B, 0, 0, 0}));
    EXPECT_EQ(Format(-0.0f), (DigitBuffer{'+', B, B, B, 0, 0, 0}));
}

TEST(DisplayDigits, BlanksAtMostThreeZerosAndOnlyBeforeTheFirstDigit) {
    EXPECT_EQ(Format(0.5f), (DigitBuffer{'+', B, B, B, 0, 5, 0}));
    EXPECT_EQ(Format(100.5f), (DigitBuffer{'+', B, 1, 0, 0, 5, 0}));
    EXPECT_EQ(Format(1000.0f), (DigitBuffer{'+', 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Format(-1372.0f), (DigitBuffer{'-', 1, 3, 7, 2, 0, 0}));
}

TEST(DisplayDigits, RoundsHalfTenthsAwayFromZero) {
    // Quarters are exact in binary, so these are true ties.
    EXPECT_EQ(Format(0.25f), (DigitBuffer{'+', B, B, B, 0, 3, 0}));
    EXPECT_EQ(Format(-0.25f), (DigitBuffer{'-', B, B, B, 0, 3, 0}));
    EXPECT_EQ(Format(2.75f), (DigitBuffer{'+', B, B, B, 2, 8, 0}));
    EXPECT_EQ(Format(0.24f), (DigitBuffer{'+', B, B, B, 0, 2, 0}));
    EXPECT_EQ(Format(-0.04f), (DigitBuffer{'+', B, B, B, 0, 0, 0}));
}

TEST(DisplayDigits, FahrenheitAddsTheOffsetExceptForRelDifferences) {
    EXPECT_EQ(Format(25.0f, DisplayUnit::Fahrenheit), (DigitBuffer{'+', B, B, 7, 7, 0, 0}));
    EXPECT_EQ(Format(-40.0f, DisplayUnit::Fahrenheit), (DigitBuffer{'-', B, B, 4, 0, 0, 0}));
    EXPECT_EQ(Format(1.0f, DisplayUnit::Fahrenheit), (DigitBuffer{'+', B, B, 3, 3, 8, 0}));
    EXPECT_EQ(Format(1.0f, DisplayUnit::Fahrenheit, true), (DigitBuffer{'+', B, B, B, 1, 8, 0}));
    EXPECT_EQ(Format(-10.0f, DisplayUnit::Fahrenheit, true), (DigitBuffer{'-', B, B, 1, 8, 0, 0}));
    // REL alone changes nothing in Celsius.
    EXPECT_EQ(Format(-10.0f, DisplayUnit::Celsius, true), (DigitBuffer{'-', B, B, 1, 0, 0, 0}));
}

TEST(DisplayDigits, InvalidShowsDashesAndKeepsTheSignByte) {
    DigitBuffer buffer = kBlankDigits;
    FormatDisplayDigits(buffer, 1, 25.3f, DisplayUnit::Celsius, false);
    EXPECT_EQ(buffer, (DigitBuffer{B, D, D, D, D, D, D}));

    FormatDisplayDigits(buffer, 0, -5.0f, DisplayUnit::Celsius, false);
    FormatDisplayDigits(buffer, 0x80, 25.3f, DisplayUnit::Celsius, false);
    EXPECT_EQ(buffer, (DigitBuffer{'-', D, D, D, D, D, D}));
}

TEST(DisplayDigits, ValuesBeyondFiveDigitsShowDashesWithoutOverrunning) {
    EXPECT_EQ(Format(9999.9f), (DigitBuffer{'+', 9, 9, 9, 9, 9, 0}));
    EXPECT_EQ(Format(-9999.9f), (DigitBuffer{'-', 9, 9, 9, 9, 9, 0}));
    EXPECT_EQ(Format(10000.0f), (DigitBuffer{'+', D, D, D, D, D, 0}));
    EXPECT_EQ(Format(-10000.0f), (DigitBuffer{'-', D, D, D, D, D, 0}));
    EXPECT_EQ(Format(6553.5f, DisplayUnit::Fahrenheit, true), (DigitBuffer{'+', D, D, D, D, D, 0}));
    EXPECT_EQ(Format(3e9f), (DigitBuffer{'+', D, D, D, D, D, 0}));
    EXPECT_EQ(Format(-std::numeric_limits<float>::infinity()),
              (DigitBuffer{'-', D, D, D, D, D, 0}));
    EXPECT_EQ(Format(std::numeric_limits<float>::quiet_NaN()),
              (DigitBuffer{'+', D, D, D, D, D, 0}));
}

}  // namespace
}  // namespace kr820::core
