// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <cstdint>

#include "core/data/memory_image.h"

namespace kr820::core {

// The logger download's block protocol: a 26-byte header reply, then the memory in 35-byte
// blocks (a byte, 32 memory bytes, a checksum, a byte), each acknowledged or refused.
inline constexpr int kBlockBytes = 35;
inline constexpr int kBlockPayloadBytes = 32;
inline constexpr int kMaxTransferBytes = static_cast<int>(kMaxLoggerMemoryBytes);
inline constexpr int kMaxTransferRetries = 20;
// The meter's memory addresses start above this; an end address equal to it means empty.
inline constexpr std::uint32_t kMemoryBase = 0xFFFF;

// Result codes of one download attempt; the transfer gives 0, 3, 4 and 6, decoding 0, 1, 2, 6.
enum class DownloadCode : int {
    Success = 0,
    DamagedRecord = 1,
    BadSetCount = 2,
    ShortTransfer = 3,
    NoHeader = 4,
    NothingRecorded = 6,
};

// What the header's end address says about the transfer: its size, or why there is none.
struct TransferSize {
    DownloadCode code = DownloadCode::Success;
    int expectedBytes = 0;  // rounded up to whole blocks; 0 unless code is Success
};
TransferSize ExpectedTransfer(std::uint32_t endAddress);

// Whether the 26 bytes are a header reply: 02 "HEAD" at the start.
bool IsHeaderReply(QByteArrayView reply);
// The end address: 8 hexadecimal digits at offset 15, read like C's "%8X".
std::uint32_t HeaderEndAddress(QByteArrayView reply);

// (sum of the 32 memory bytes modulo 256) OR 0x80, compared with the block's byte 33.
bool BlockChecksumMatches(QByteArrayView block);

}  // namespace kr820::core
