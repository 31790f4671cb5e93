// SPDX-License-Identifier: MIT
// The meter's side of the download step by step, faults included, without a line: each command
// in, the bytes the meter would send out.
#include "logger_transfer.h"

#include <gtest/gtest.h>

#include <string>

#include "hex.h"
#include "logger_memory_builder.h"
#include "memory_blocks.h"

namespace kr820::emulator {
namespace {

using testing::ToHex;

// Three blocks: 18 + 4 x 19 = 94 bytes.
std::string ThreeBlockImage() {
    DataSet set;
    for (int i = 0; i < 19; ++i)
        set.pairs.push_back({static_cast<std::int16_t>(i), static_cast<std::int16_t>(-i)});
    return BuildMemoryImage({set});
}

class Transfer : public ::testing::Test {
protected:
    std::string Block(std::size_t index) const { return EncodeBlock(BlockPayload(m_image, index)); }
    std::string BadSum(std::size_t index) const {
        std::string block = Block(index);
        block[33] = static_cast<char>(block[33] ^ 0x01);
        return block;
    }
    void Set(const DownloadFaults& faults) { m_transfer.SetFaults(faults); }

    std::string m_image = ThreeBlockImage();
    LoggerTransfer m_transfer{m_image};
};

TEST_F(Transfer, AcknowledgementsOutsideADownloadAreIgnored) {
    EXPECT_EQ(m_transfer.OnAccepted(), "");
    EXPECT_EQ(m_transfer.OnRefused(), "");
    // A header request in the middle abandons the download; "DOWN" starts over.
    EXPECT_EQ(ToHex(m_transfer.OnDownload()), ToHex(Block(0)));
    EXPECT_EQ(m_transfer.OnHeaderRequest(), m_image.substr(0, kHeaderReplyBytes));
    EXPECT_EQ(m_transfer.OnAccepted(), "");
    EXPECT_EQ(ToHex(m_transfer.OnDownload()), ToHex(Block(0)));
    // So does a new memory.
    m_transfer.SetMemory(BuildMemoryImage({}));
    EXPECT_EQ(m_transfer.OnRefused(), "");
}

TEST_F(Transfer, HeaderFaults) {
    const std::string reply = m_image.substr(0, kHeaderReplyBytes);
    DownloadFaults faults;
    faults.noHeaderReply = true;
    Set(faults);
    EXPECT_EQ(m_transfer.OnHeaderRequest(), "");

    faults = {};
    faults.headerReplyBytes = 25;
    Set(faults);
    EXPECT_EQ(m_transfer.OnHeaderRequest(), reply.substr(0, 25));
    faults.headerReplyBytes = 27;
    Set(faults);
    EXPECT_EQ(m_transfer.OnHeaderRequest(), reply + " ");

    // Only the address changes; the blocks still follow the memory's own.
    faults = {};
    faults.endAddress = 0xFFFF;
    Set(faults);
    EXPECT_EQ(m_transfer.OnHeaderRequest(), "\x02HEAD        1 0000FFFF  \x03");
    faults.endAddress = 0xFFFF + kMaxDownloadBytes + 1;
    Set(faults);
    EXPECT_EQ(m_transfer.OnHeaderRequest().substr(15, 8), "000303A0");
    EXPECT_EQ(ToHex(m_transfer.OnDownload()), ToHex(Block(0)));
}

TEST_F(Transfer, WrongSumOnTheFirstSendingOnlyOrEveryTime) {
    DownloadFaults faults;
    faults.badChecksumBlock = 1;
    Set(faults);
    for (int download = 0; download < 2; ++download) {  // each download meets it again
        EXPECT_EQ(ToHex(m_transfer.OnDownload()), ToHex(Block(0)));
        EXPECT_EQ(ToHex(m_transfer.OnAccepted()), ToHex(BadSum(1)));
        EXPECT_EQ(ToHex(m_transfer.OnRefused()), ToHex(Block(1)));
        EXPECT_EQ(ToHex(m_transfer.OnRefused()), ToHex(Block(1)));
    }

    faults.badChecksumEveryTime = true;
    Set(faults);
    m_transfer.OnDownload();
    for (int sending = 0; sending < 25; ++sending) {
        const std::string block = sending == 0 ? m_transfer.OnAccepted() : m_transfer.OnRefused();
        ASSERT_EQ(ToHex(block), ToHex(BadSum(1))) << "sending " << sending;
    }
    EXPECT_EQ(ToHex(m_transfer.OnAccepted()), ToHex(Block(2)));  // a PC that takes it anyway
}

TEST_F(Transfer, NoiseSitsInsideTheFirstSendingOnly) {
    DownloadFaults faults;
    faults.noisyBlock = 0;
    Set(faults);
    const std::string clean = Block(0);
    const std::string noisy = m_transfer.OnDownload();
    ASSERT_EQ(noisy.size(), kBlockFrameBytes + kBlockNoise.size());
    EXPECT_EQ(ToHex(noisy), ToHex(clean.substr(0, 17) + "\xFF\x02\xAA" + clean.substr(17)));
    EXPECT_EQ(ToHex(m_transfer.OnRefused()), ToHex(clean));
}

}  // namespace
}  // namespace kr820::emulator
