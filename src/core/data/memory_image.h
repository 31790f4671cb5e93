// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <cstdint>

#include "core/protocol/command_table.h"

namespace kr820::core {

// The meter's logger memory behind a 256-byte header area; a download builds it, a collection
// file holds it byte for byte. It grows block by block, and a refused block is cut off its end.
using MemoryImage = QByteArray;

// Header area: the meter's reply to "HEAD" (kHeaderReplyBytes), then zeros.
inline constexpr qsizetype kSetCountOffset = 10;   // hexadecimal text of any length
inline constexpr qsizetype kMemoryEndOffset = 15;  // 8 hexadecimal digits: the end address
inline constexpr int kMemoryEndDigits = 8;
inline constexpr qsizetype kHeaderFieldsEnd = kMemoryEndOffset + kMemoryEndDigits;
inline constexpr qsizetype kFirstRecordOffset = 256;

// The end address minus this is the highest image offset a record may end at.
inline constexpr std::int64_t kMemoryEndBias = 0xFEFF;
inline constexpr std::int32_t kMaxDataSets = 4000;
// The largest logger memory the meter reports; the image adds its header area to it.
inline constexpr qsizetype kMaxLoggerMemoryBytes = 132000;

// One data set record, as offsets from its first byte.
namespace record {
inline constexpr std::uint8_t kStartMarker0 = 0xA5;
inline constexpr std::uint8_t kStartMarker1 = 0x5A;
inline constexpr std::uint8_t kEndMarker0 = 0x5A;
inline constexpr std::uint8_t kEndMarker1 = 0xA5;
inline constexpr qsizetype kDateTime = 3;  // six BCD bytes from year - 2000 to second
inline constexpr qsizetype kRateCode = 11;
inline constexpr qsizetype kFlags = 12;
inline constexpr qsizetype kSampleCount = 14;  // pairs, big-endian unsigned 16 bits
inline constexpr qsizetype kSamples = 16;      // T1, T2, T1, ... 2 bytes each
inline constexpr qsizetype kBytesPerPair = 4;
// Header and both end markers: a set without samples takes this many bytes.
inline constexpr qsizetype kEmptyRecordBytes = kSamples + 2;

// Offset of the record's final byte (the second end marker); the next record starts after it.
constexpr qsizetype EndOffset(qsizetype first, std::int32_t pairs) {
    return first + kSamples + kBytesPerPair * pairs + 1;
}
}  // namespace record

}  // namespace kr820::core
