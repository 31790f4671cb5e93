// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <vector>

#include "store/stored_reading.h"

namespace kr820::store {

// Blocks of format 3: each reading is what changed since the one before. A tag byte (high bit
// set) says which fields follow: the time step as a change of the step before (readings come
// regularly), each temperature as a change in tenths or, when it is no whole tenth, its own
// 32-bit float, and the flag byte when it changed; a field left out is as before. A zero byte
// ends the readings, and the checksum of the block number, the first time and the readings
// follows. A fixed-size open block is written in place, so whatever follows the checksum is
// room for the readings still to come.
//   tag bit 0       the step changed: zigzag LEB128 of the change in milliseconds
//   tag bits 1-2    T1: 0 as before, 1 zigzag LEB128 change in tenths, 2 the float
//   tag bits 3-4    T2, the same way
//   tag bit 5       the flag byte follows
inline constexpr int kPackedReadingMaxBytes = 1 + 10 + 5 + 5 + 1;

// What the next reading is told apart from.
struct PackState {
    qint64 LastMs = 0;
    qint64 LastStepMs = 0;
    float T1 = 0;
    float T2 = 0;
    quint8 Flags = 0;
};

PackState StartPacking(qint64 blockFirstMs);
void PackReading(QByteArray& packed, PackState& state, const StoredReading& reading);
// The readings sealed for storing: the end mark and the checksum after them.
QByteArray SealPacked(QByteArrayView packed, qint64 block, qint64 blockFirstMs);
// The room an open block's row takes, so that a reading is written where it goes.
inline constexpr int PackedBlockCapacity(int readings) {
    return readings * kPackedReadingMaxBytes + 1 + 4;
}

enum class PackedFailure { None, Checksum, Malformed };
// The readings of a sealed block; nothing when its checksum does not match (`failure` says) or
// what it holds cannot be (more readings than a block takes, times out of range).
std::optional<std::vector<StoredReading>> UnpackBlock(QByteArrayView sealed, qint64 block,
                                                      qint64 blockFirstMs, int maxReadings,
                                                      PackedFailure* failure = nullptr);

}  // namespace kr820::store
