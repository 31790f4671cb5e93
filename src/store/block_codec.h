// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <vector>

#include "store/stored_reading.h"

namespace kr820::store {

// Readings are kept 256 to a row. Formats 1 and 2 store each in 15 bytes: a signed 48-bit offset in
// milliseconds from the row's first time (below zero only after the clock was set back, format 2),
// T1 and T2 as 32-bit floats and a flag byte, all little-endian. The floats keep every value
// exactly as it was taken (Fahrenheit readings are no whole tenths).
inline constexpr int kBlockReadings = 256;
inline constexpr int kReadingBytes = 6 + 4 + 4 + 1;

void AppendToBlock(QByteArray& block, qint64 blockFirstMs, const StoredReading& reading);
StoredReading ReadingInBlock(QByteArrayView block, qint64 blockFirstMs, int position);
// Nothing when the size is not a whole number of readings or the first time is out of range
// (damage); the offsets are 48 bits, so every time decoded stays far from overflowing.
std::optional<std::vector<StoredReading>> DecodeBlock(QByteArrayView block, qint64 blockFirstMs);

// A stored block in the store's format (format 3: packed_block.h). `checksumFailed` tells a block
// whose checksum does not match from one that cannot be decoded.
std::optional<std::vector<StoredReading>> DecodeStoredBlock(int format, QByteArrayView stored,
                                                            qint64 block, qint64 blockFirstMs,
                                                            bool* checksumFailed = nullptr);

}  // namespace kr820::store
