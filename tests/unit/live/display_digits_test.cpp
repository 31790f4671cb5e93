// SPDX-License-Identifier: MIT
// How a reading becomes the sign and five digit codes of a display. The frame-level cases
// (Fahrenheit, REL, invalid channels) are in the decoder's tests.
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

TEST(DisplayDigits, ShowsTenthsWithSignAndAtMostThreeLeadingBlanks) {
    EXPECT_EQ(Format(25.3f), (DigitBuffer{'+', B, B, 2, 5, 3, 0}));
    EXPECT_EQ(Format(-5.0f), (DigitBuffer{'-', B, B, B, 5, 0, 0}));
    EXPECT_EQ(Format(0.0f), (DigitBuffer{'+', B, B, B, 0, 0, 0}));
    EXPECT_EQ(Format(-0.0f), (DigitBuffer{'+', B, B, B, 0, 0, 0}));
    EXPECT_EQ(Format(100.5f), (DigitBuffer{'+', B, 1, 0, 0, 5, 0}));
    EXPECT_EQ(Format(-1372.0f), (DigitBuffer{'-', 1, 3, 7, 2, 0, 0}));
}

TEST(DisplayDigits, RoundsHalfTenthsAwayFromZero) {
    // Quarters are exact in binary, so these are true ties.
    EXPECT_EQ(Format(0.25f), (DigitBuffer{'+', B, B, B, 0, 3, 0}));
    EXPECT_EQ(Format(-0.25f), (DigitBuffer{'-', B, B, B, 0, 3, 0}));
    EXPECT_EQ(Format(0.24f), (DigitBuffer{'+', B, B, B, 0, 2, 0}));
    EXPECT_EQ(Format(-0.04f), (DigitBuffer{'+', B, B, B, 0, 0, 0}));
}

TEST(DisplayDigits, ValuesBeyondFiveDigitsShowDashesWithoutOverrunning) {
    EXPECT_EQ(Format(9999.9f), (DigitBuffer{'+', 9, 9, 9, 9, 9, 0}));
    EXPECT_EQ(Format(10000.0f), (DigitBuffer{'+', D, D, D, D, D, 0}));
    EXPECT_EQ(Format(-10000.0f), (DigitBuffer{'-', D, D, D, D, D, 0}));
    EXPECT_EQ(Format(-std::numeric_limits<float>::infinity()),
              (DigitBuffer{'-', D, D, D, D, D, 0}));
    EXPECT_EQ(Format(std::numeric_limits<float>::quiet_NaN()),
              (DigitBuffer{'+', D, D, D, D, D, 0}));
}

}  // namespace
}  // namespace kr820::core
