// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <vector>

#include "store/stored_reading.h"

namespace kr820::store {

// Readings are kept 256 to a row (one database page each): a signed 48-bit offset in milliseconds
// from the row's first time (below zero only after the clock was set back, format 2), T1 and T2 as
// 32-bit floats and a flag byte, all little-endian. The floats keep every value exactly as it was
// taken (Fahrenheit readings are no whole tenths).
inline constexpr int kBlockReadings = 256;
inline constexpr int kReadingBytes = 6 + 4 + 4 + 1;

void AppendToBlock(QByteArray& block, qint64 blockFirstMs, const StoredReading& reading);
StoredReading ReadingInBlock(QByteArrayView block, qint64 blockFirstMs, int position);
// Nothing when the size is not a whole number of readings or the first time is out of range
// (damage); the offsets are 48 bits, so every time decoded stays far from overflowing.
std::optional<std::vector<StoredReading>> DecodeBlock(QByteArrayView block, qint64 blockFirstMs);

}  // namespace kr820::store
