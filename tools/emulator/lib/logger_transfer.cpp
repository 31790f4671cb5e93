// SPDX-License-Identifier: MIT
#include "logger_transfer.h"

#include <utility>

#include "logger_memory_builder.h"
#include "memory_blocks.h"

namespace kr820::emulator {
namespace {

constexpr std::size_t kEndAddressOffset = 15;
constexpr std::size_t kBlockChecksumOffset = 33;

}  // namespace

LoggerTransfer::LoggerTransfer(std::string image) : m_image(std::move(image)) {}

void LoggerTransfer::SetMemory(std::string image) {
    m_image = std::move(image);
    ++m_memoryChanges;
    m_inProgress = false;
}

std::string LoggerTransfer::OnHeaderRequest() {
    m_inProgress = false;
    if (m_faults.noHeaderReply) return {};
    std::string reply = HeaderReplyOf(m_image);
    if (m_faults.endAddress) {
        const std::string forged = EncodeHeaderReply(0, *m_faults.endAddress);
        reply.resize(kHeaderReplyBytes, ' ');
        reply.replace(kEndAddressOffset, 8, forged, kEndAddressOffset, 8);
    }
    if (m_faults.headerReplyBytes) reply.resize(*m_faults.headerReplyBytes, ' ');
    return reply;
}

std::string LoggerTransfer::OnDownload() {
    m_inProgress = BlockCount(m_image) > 0;
    m_silenced = false;
    m_current = 0;
    m_timesSent = 0;
    return m_inProgress ? SendCurrent() : std::string{};
}

std::string LoggerTransfer::OnAccepted() {
    if (!m_inProgress) return {};
    ++m_current;
    m_timesSent = 0;
    if (m_current >= BlockCount(m_image)) {
        // The meter has nothing more; the PC notices by three quiet seconds.
        m_inProgress = false;
        return {};
    }
    return SendCurrent();
}

std::string LoggerTransfer::OnRefused() { return m_inProgress ? SendCurrent() : std::string{}; }

std::string LoggerTransfer::SendCurrent() {
    if (m_silenced) return {};
    const bool first = m_timesSent++ == 0;
    std::string block = EncodeBlock(BlockPayload(m_image, m_current));
    if (m_faults.badChecksumBlock == m_current && (first || m_faults.badChecksumEveryTime)) {
        // Still a plausible sum (bit 7 set), just not this block's.
        block[kBlockChecksumOffset] = static_cast<char>(block[kBlockChecksumOffset] ^ 0x01);
    }
    if (m_faults.noisyBlock == m_current && first) block.insert(kBlockNoiseAt, kBlockNoise);
    if (m_faults.silentAfterBlock == m_current) m_silenced = true;
    return block;
}

}  // namespace kr820::emulator
