// SPDX-License-Identifier: MIT
// The command frames as they go on the wire, pinned one per line to the meter's side.
#include "core/protocol/command_frame.h"

#include <gtest/gtest.h>

namespace kr820::core {
namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

TEST(CommandFrame, OneLetterCommandsAreFourBytes) {
    EXPECT_EQ(FrameCommand("K"), Hex("024BCB03"));
    EXPECT_EQ(FrameCommand("A"), Hex("0241C103"));
    EXPECT_EQ(FrameCommand("O"), Hex("024FCF03"));
}

TEST(CommandFrame, FourLetterCommandsKeepTheLowEightBitsOfTheSum) {
    EXPECT_EQ(FrameCommand("ROPT"), Hex("02524F5054C503"));
    EXPECT_EQ(FrameCommand("CLRM"), Hex("02434C524DAE03"));
    EXPECT_EQ(FrameCommand("HEAD"), Hex("0248454144"
                                        "9203"));
    // 'D'+'O'+'W'+'N' = 0x138: only 0x38 survives before bit 7 is set.
    EXPECT_EQ(FrameCommand("DOWN"), Hex("02444F574EB803"));
}

TEST(CommandFrame, BlockAnswersCarryAnEtxInsideTheBody) {
    EXPECT_EQ(FrameCommand(Hex("7903574E")), Hex("027903574EA103"));
    EXPECT_EQ(FrameCommand(Hex("6E03574E")), Hex("026E03574E9603"));
}

TEST(CommandFrame, ChecksumAlwaysHasBitSevenSet) {
    EXPECT_EQ(CommandChecksum(Hex("00")), 0x80);
    EXPECT_EQ(CommandChecksum(Hex("AA")), 0xAA);
    EXPECT_EQ(CommandChecksum(Hex("FF01")), 0x80);
}

TEST(CommandFrame, TheAbortFrameIsItsBodyFramed) {
    EXPECT_EQ(FrameCommand(BodyOf(kAbort)), Hex("02AAAA03"));
}

}  // namespace
}  // namespace kr820::core
