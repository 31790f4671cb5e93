// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <cstdint>

#include "core/data/memory_image.h"
#include "core/protocol/command_table.h"

namespace kr820::core {

// The logger download's block protocol: a header reply, then the memory in blocks, each
// acknowledged or refused; the sizes are the command table's.
inline constexpr int kMaxTransferBytes = static_cast<int>(kMaxLoggerMemoryBytes);
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

// Whether the bytes are a header reply: the frame of "HEAD" without its checksum at the start.
bool IsHeaderReply(QByteArrayView reply);
// The end address: 8 hexadecimal digits at offset 15, read like C's "%8X".
std::uint32_t HeaderEndAddress(QByteArrayView reply);

// (sum of the memory bytes modulo 256) OR 0x80, compared with the block's checksum byte.
bool BlockChecksumMatches(QByteArrayView block);

}  // namespace kr820::core
