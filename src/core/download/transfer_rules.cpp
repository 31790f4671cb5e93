// SPDX-License-Identifier: MIT
#include "core/download/transfer_rules.h"

#include "core/data/hex_text.h"
#include "core/protocol/command_frame.h"

namespace kr820::core {

TransferSize ExpectedTransfer(std::uint32_t endAddress) {
    // Computed wide: an end address below the base is a header without a valid address.
    const long long bytes = static_cast<long long>(endAddress) - kMemoryBase;
    if (bytes == 0 || bytes > kMaxTransferBytes) return {DownloadCode::NothingRecorded, 0};
    if (bytes < 1) return {DownloadCode::NoHeader, 0};
    const int rounded = static_cast<int>((bytes + kBlockPayloadBytes - 1) / kBlockPayloadBytes) *
                        kBlockPayloadBytes;
    return {DownloadCode::Success, rounded};
}

bool IsHeaderReply(QByteArrayView reply) {
    const QByteArrayView word = BodyOf(kMemoryHeader);
    return reply.size() > word.size() && reply.front() == kStx &&
           reply.sliced(1, word.size()) == word;
}

std::uint32_t HeaderEndAddress(QByteArrayView reply) {
    if (reply.size() <= kMemoryEndOffset) return 0;
    return ReadHexText(reply.sliced(kMemoryEndOffset), kMemoryEndDigits);
}

bool BlockChecksumMatches(QByteArrayView block) {
    if (block.size() < kBlockBytes) return false;
    unsigned sum = 0;
    for (int i = 1; i <= kBlockPayloadBytes; ++i) sum += static_cast<std::uint8_t>(block[i]);
    return static_cast<std::uint8_t>((sum & 0xFFu) | 0x80u) ==
           static_cast<std::uint8_t>(block[kBlockChecksumOffset]);
}

}  // namespace kr820::core
