// SPDX-License-Identifier: MIT
#include "core/download/transfer_rules.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace kr820::core {
namespace {

TEST(TransferRules, TheEndAddressGivesWholeBlocks) {
    const TransferSize size = ExpectedTransfer(0x10000 + 99);  // 100 bytes
    EXPECT_EQ(size.code, DownloadCode::Success);
    EXPECT_EQ(size.expectedBytes, 128);
    EXPECT_EQ(ExpectedTransfer(0xFFFF + 32).expectedBytes, 32);
    EXPECT_EQ(ExpectedTransfer(0xFFFF + 132000).expectedBytes, 132000);
}

TEST(TransferRules, EmptyOversizedAndMissingHeadersAreRefused) {
    EXPECT_EQ(ExpectedTransfer(0xFFFF).code, DownloadCode::NothingRecorded);
    EXPECT_EQ(ExpectedTransfer(0xFFFF + 132001).code, DownloadCode::NothingRecorded);
    EXPECT_EQ(ExpectedTransfer(0xFFFFFFFF).code, DownloadCode::NothingRecorded);
    EXPECT_EQ(ExpectedTransfer(0).code, DownloadCode::NoHeader);
    EXPECT_EQ(ExpectedTransfer(0xFFFE).code, DownloadCode::NoHeader);
}

TEST(TransferRules, HeaderReplyStartsWithStxHeadAndCarriesTheEndAddressAtFifteen) {
    QByteArray reply(26, ' ');
    reply.replace(0, 5, QByteArray("\x02HEAD", 5));
    reply.replace(15, 8, "  10063x");
    EXPECT_TRUE(IsHeaderReply(reply));
    EXPECT_EQ(HeaderEndAddress(reply), 0x10063u);
    reply[1] = 'h';
    EXPECT_FALSE(IsHeaderReply(reply));
}

TEST(TransferRules, BlockChecksumKeepsTheLowBitsAndSetsBitSeven) {
    QByteArray block(35, '\0');
    for (int i = 1; i <= 32; ++i) block[i] = static_cast<char>(0x10 + i);  // sum 0x410 + 528
    unsigned sum = 0;
    for (int i = 1; i <= 32; ++i) sum += static_cast<unsigned char>(block[i]);
    block[33] = static_cast<char>((sum & 0xFF) | 0x80);
    EXPECT_TRUE(BlockChecksumMatches(block));
    block[5] = static_cast<char>(block[5] + 1);
    EXPECT_FALSE(BlockChecksumMatches(block));
    EXPECT_FALSE(BlockChecksumMatches(block.left(34)));
}

}  // namespace
}  // namespace kr820::core
