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
}

TEST(StoredSampleValue, LimitsPerTypeInCelsiusThenTheUnit) {
    struct Case {
        std::int32_t tenths;
        std::uint8_t flags;
        float expected;
    };
    for (const Case& c :
         {Case{13700, 0x00, 1370.0f}, Case{13701, 0x00, OverLimitValue},
          Case{13700, 0xBC, 1370.0f},  // bits beyond type and unit say nothing
          Case{7600, 0x01, 760.0f}, Case{7601, 0x02, OverLimitValue},
          Case{7601, 0x03, OverLimitValue}, Case{-2000, 0x01, -200.0f},
          Case{-2001, 0x00, UnderLimitValue}, Case{-32768, 0x41, UnderLimitValue},
          Case{1000, 0x40, 212.0f},
          Case{13700, 0x40, 2498.0f},  // far above 760, yet in range: the limit is in Celsius
          Case{13701, 0x40, OverLimitValue}, Case{-2001, 0x40, UnderLimitValue},
          Case{-1999, 0x00, -199.9f}, Case{235, 0x40, 74.3f}}) {
        EXPECT_FLOAT_EQ(StoredSampleValue(c.tenths, c.flags), c.expected)
            << c.tenths << " flags " << int(c.flags);
    }
}

}  // namespace
}  // namespace kr820::core
