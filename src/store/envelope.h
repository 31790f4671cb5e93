// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "store/stored_reading.h"

namespace kr820::store {

// Envelopes summarise a recording at coarser and coarser levels so that a chart can draw any
// length from a few thousand entries: an entry of level 1 covers 16 readings, one of level L
// covers 16 entries of level L-1 (16^L readings), aligned to multiples of that many readings.
inline constexpr int kLevelBits = 4;
inline constexpr int kFanOut = 1 << kLevelBits;
inline constexpr int kTopLevel = 8;  // 16^8 readings: 136 years at one a second
// The most readings a store holds: a top-level entry counts its readings in 32 bits.
inline constexpr qint64 kMaxReadings = (qint64(1) << 32) - 1;

inline constexpr qint64 ReadingsPerEntry(int level) { return qint64(1) << (kLevelBits * level); }

// One channel's valid values: their extremes, sum and number (for the mean).
struct ChannelSpan {
    float Min = std::numeric_limits<float>::infinity();
    float Max = -std::numeric_limits<float>::infinity();
    double Sum = 0;
    quint32 Count = 0;

    bool Empty() const { return Count == 0; }
    void Take(float value);
    void Merge(const ChannelSpan& other);
    bool operator==(const ChannelSpan&) const = default;
};

struct Envelope {
    qint64 FirstMs = 0;
    qint64 LastMs = 0;
    quint32 Readings = 0;  // invalid ones included
    ChannelSpan T1;
    ChannelSpan T2;

    void Take(const StoredReading& reading);
    void Merge(const Envelope& other);
    bool operator==(const Envelope&) const = default;
};

Envelope EnvelopeOf(std::span<const StoredReading> readings);

// Entries are stored 16 to a row, little-endian, 60 bytes each.
inline constexpr int kEnvelopeBytes = 8 + 8 + 4 + 2 * (4 + 4 + 8 + 4);
QByteArray EncodeEnvelopes(std::span<const Envelope> entries);
// Nothing when the size is not a whole number of entries (damage).
std::optional<std::vector<Envelope>> DecodeEnvelopes(QByteArrayView bytes);

// A stored chunk in the store's format: from format 3 on, sealed by the checksum of its level,
// number and entries. Nothing when it does not read or its checksum does not match.
QByteArray EncodeChunk(int format, std::span<const Envelope> entries, int level, qint64 chunk);
std::optional<std::vector<Envelope>> DecodeChunk(int format, QByteArrayView stored, int level,
                                                 qint64 chunk);

}  // namespace kr820::store
