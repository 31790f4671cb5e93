// SPDX-License-Identifier: MIT
// One logger sample from its two bytes to the value the store keeps.
#include "core/data/sample_value.h"

#include <gtest/gtest.h>

#include "core/data/limit_values.h"

namespace kr820::core {
namespace {

TEST(DecodeSample, ReadsBigEndianTwosComplementTenths) {
    EXPECT_EQ(DecodeSample(0x00, 0xEB), 235);
    EXPECT_EQ(DecodeSample(0xFF, 0x9C), -100);
    EXPECT_EQ(DecodeSample(0x80, 0x00), -32768);
    EXPECT_EQ(DecodeSample(0x7F, 0xFF), 32767);
    EXPECT_EQ(DecodeSample(0xFF, 0xFF), -1);
}

TEST(DecodeSample, AgreesWithTheMetersSignRuleForEveryWord) {
    for (int high = 0; high < 256; ++high) {
        for (int low = 0; low < 256; ++low) {
            const int expected =
                high < 0x80 ? high * 256 + low : -(((255 - high) * 256 + (255 - low)) + 1);
            ASSERT_EQ(DecodeSample(static_cast<std::uint8_t>(high), static_cast<std::uint8_t>(low)),
                      expected);
        }
    }
}

TEST(StoredSampleValue, TypeKRangeEndsAt1370Celsius) {
    EXPECT_EQ(StoredSampleValue(13700, 0x00), 1370.0f);
    EXPECT_EQ(StoredSampleValue(13701, 0x00), OverLimitValue);
    EXPECT_EQ(StoredSampleValue(32767, 0x00), OverLimitValue);
    // Bits beyond the type bits and the unit bit say nothing.
    EXPECT_EQ(StoredSampleValue(13700, 0xBC), 1370.0f);
}

TEST(StoredSampleValue, TypeJRangeEndsAt760CelsiusWhicheverTypeBitIsSet) {
    for (const std::uint8_t flags : {0x01, 0x02, 0x03}) {
        EXPECT_EQ(StoredSampleValue(7600, flags), 760.0f);
        EXPECT_EQ(StoredSampleValue(7601, flags), OverLimitValue);
    }
}

TEST(StoredSampleValue, BelowMinus200IsUnderLimitForEitherType) {
    for (const std::uint8_t flags : {0x00, 0x01, 0x40, 0x41}) {
        EXPECT_EQ(StoredSampleValue(-2001, flags), UnderLimitValue);
        EXPECT_EQ(StoredSampleValue(-32768, flags), UnderLimitValue);
    }
    EXPECT_EQ(StoredSampleValue(-2000, 0x00), -200.0f);
}

TEST(StoredSampleValue, FahrenheitConvertsOnlyValuesInRange) {
    EXPECT_EQ(StoredSampleValue(1000, 0x40), 212.0f);
    EXPECT_EQ(StoredSampleValue(-400, 0x40), -40.0f);
    EXPECT_FLOAT_EQ(StoredSampleValue(235, 0x40), 74.3f);
    // 1370.0 C is 2498.0 F, above 760.0 but still in range: the limit is a Celsius one.
    EXPECT_EQ(StoredSampleValue(13700, 0x40), 2498.0f);
    EXPECT_EQ(StoredSampleValue(13701, 0x40), OverLimitValue);
    EXPECT_EQ(StoredSampleValue(7601, 0x41), OverLimitValue);
    EXPECT_EQ(StoredSampleValue(-2001, 0x40), UnderLimitValue);
}

TEST(StoredSampleValue, KeepsTheMetersTenthOfADegree) {
    EXPECT_FLOAT_EQ(StoredSampleValue(1, 0x00), 0.1f);
    EXPECT_FLOAT_EQ(StoredSampleValue(-1999, 0x00), -199.9f);
    EXPECT_FLOAT_EQ(StoredSampleValue(12345, 0x00), 1234.5f);
}

}  // namespace
}  // namespace kr820::core
