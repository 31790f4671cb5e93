// SPDX-License-Identifier: MIT
// The memory header's hexadecimal fields, read as the meter writes them and as they may be garbled.
#include "core/data/hex_text.h"

#include <gtest/gtest.h>

namespace kr820::core {
namespace {

TEST(ReadHexText, SkipsBlanksAndStopsAtTheFirstNonDigit) {
    EXPECT_EQ(ReadHexText("  1F,0001"), 0x1Fu);
    EXPECT_EQ(ReadHexText("\t00fa0 "), 4000u);
    EXPECT_EQ(ReadHexText("12G4"), 0x12u);
}

TEST(ReadHexText, NoDigitsReadAsZero) {
    EXPECT_EQ(ReadHexText(""), 0u);
    EXPECT_EQ(ReadHexText("   "), 0u);
    EXPECT_EQ(ReadHexText(QByteArrayView("\0\0\0", 3)), 0u);
    EXPECT_EQ(ReadHexText("-"), 0u);
}

TEST(ReadHexText, WidthCountsTheSignButNotTheBlanks) {
    EXPECT_EQ(ReadHexText("  0001A0001", 8), 0x0001A000u);
    EXPECT_EQ(ReadHexText("+0001A0001", 8), 0x0001A00u);
}

TEST(ReadHexText, SignAndOverflowAsAC32BitConversion) {
    EXPECT_EQ(ReadHexText("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<std::int32_t>(ReadHexText("-FA0")), -4000);
    EXPECT_EQ(ReadHexText("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadHexText("123456789ABCDEF"), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace kr820::core
