// SPDX-License-Identifier: MIT
#include "logger_transfer.h"

#include <utility>

#include "memory_blocks.h"
#include "memory_image_builder.h"

namespace kr820::emulator {
namespace {

constexpr std::size_t kEndAddressOffset = 15;
constexpr std::size_t kBlockChecksumOffset = 33;

}  // namespace

LoggerTransfer::LoggerTransfer(std::string image) : image_(std::move(image)) {}

void LoggerTransfer::SetMemory(std::string image) {
    image_ = std::move(image);
    inProgress_ = false;
}

std::string LoggerTransfer::OnHeaderRequest() {
    inProgress_ = false;
    if (faults_.noHeaderReply) return {};
    std::string reply = HeaderReplyOf(image_);
    if (faults_.endAddress) {
        const std::string forged = EncodeHeaderReply(0, *faults_.endAddress);
        reply.resize(kHeaderReplyBytes, ' ');
        reply.replace(kEndAddressOffset, 8, forged, kEndAddressOffset, 8);
    }
    if (faults_.headerReplyBytes) reply.resize(*faults_.headerReplyBytes, ' ');
    return reply;
}

std::string LoggerTransfer::OnDownload() {
    inProgress_ = BlockCount(image_) > 0;
    silenced_ = false;
    current_ = 0;
    timesSent_ = 0;
    return inProgress_ ? SendCurrent() : std::string{};
}

std::string LoggerTransfer::OnAccepted() {
    if (!inProgress_) return {};
    ++current_;
    timesSent_ = 0;
    if (current_ >= BlockCount(image_)) {
        // The meter has nothing more; the PC notices by three quiet seconds.
        inProgress_ = false;
        return {};
    }
    return SendCurrent();
}

std::string LoggerTransfer::OnRefused() { return inProgress_ ? SendCurrent() : std::string{}; }

std::string LoggerTransfer::SendCurrent() {
    if (silenced_) return {};
    const bool first = timesSent_++ == 0;
    std::string block = EncodeBlock(BlockPayload(image_, current_));
    if (faults_.badChecksumBlock == current_ && (first || faults_.badChecksumEveryTime)) {
        // Still a plausible sum (bit 7 set), just not this block's.
        block[kBlockChecksumOffset] = static_cast<char>(block[kBlockChecksumOffset] ^ 0x01);
    }
    if (faults_.noisyBlock == current_ && first) block.insert(kBlockNoiseAt, kBlockNoise);
    if (faults_.silentAfterBlock == current_) silenced_ = true;
    return block;
}

}  // namespace kr820::emulator
