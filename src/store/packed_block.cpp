// SPDX-License-Identifier: MIT
#include "store/packed_block.h"

#include <QtEndian>
#include <bit>
#include <cmath>

#include "store/checksum.h"

namespace kr820::store {
namespace {

enum Tag : quint8 {
    kReading = 0x80,
    kStepChanged = 0x01,
    kT1Shift = 1,
    kT2Shift = 3,
    kFlagsFollow = 0x20,
    kUnknownBits = 0x40,
};
enum ValueCode : quint8 { kSame = 0, kTenths = 1, kFloat = 2 };

enum Flag : quint8 {
    kT1Valid = 0x01,
    kT2Valid = 0x02,
    kFahrenheit = 0x04,
    kT1Alarm = 0x08,
    kT2Alarm = 0x10,
};

quint8 FlagsOf(const StoredReading& r) {
    quint8 flags = 0;
    if (r.T1Valid) flags |= kT1Valid;
    if (r.T2Valid) flags |= kT2Valid;
    if (r.Fahrenheit) flags |= kFahrenheit;
    if (r.T1Alarm) flags |= kT1Alarm;
    if (r.T2Alarm) flags |= kT2Alarm;
    return flags;
}

void PutVarint(QByteArray& out, qint64 value) {
    auto zigzag = (quint64(value) << 1) ^ quint64(value >> 63);
    do {
        const auto byte = quint8(zigzag & 0x7f);
        zigzag >>= 7;
        out.append(char(zigzag ? byte | 0x80 : byte));
    } while (zigzag);
}

// Everything read is bounded: at most 10 bytes, never past the end.
std::optional<qint64> GetVarint(const char*& at, const char* end) {
    quint64 zigzag = 0;
    for (int shift = 0; shift < 70 && at < end; shift += 7) {
        const auto byte = quint8(*at++);
        zigzag |= quint64(byte & 0x7f) << shift;
        if (!(byte & 0x80)) return qint64(zigzag >> 1) ^ -qint64(zigzag & 1);
    }
    return std::nullopt;
}

// Tenths are counted from the value before; a value far out of any meter's range counts as 0.
qint64 TenthsOf(float value) {
    if (!std::isfinite(value) || std::fabs(value) > 1e9f) return 0;
    return std::llround(double(value) * 10.0);
}

float FromTenths(qint64 tenths) { return float(double(tenths) / 10.0); }

bool SameBits(float a, float b) { return std::bit_cast<quint32>(a) == std::bit_cast<quint32>(b); }

quint8 PackValue(QByteArray& out, float& last, float value) {
    if (SameBits(last, value)) return kSame;
    const qint64 tenths = TenthsOf(value);
    // Only a value that reads back bit for bit is kept in tenths.
    const bool exact = std::isfinite(value) && SameBits(FromTenths(tenths), value);
    if (exact) {
        PutVarint(out, tenths - TenthsOf(last));
    } else {
        char bytes[4];
        qToLittleEndian(std::bit_cast<quint32>(value), bytes);
        out.append(bytes, 4);
    }
    last = value;
    return exact ? kTenths : kFloat;
}

bool UnpackValue(quint8 code, const char*& at, const char* end, float& last) {
    switch (code) {
        case kSame:
            return true;
        case kTenths: {
            const auto change = GetVarint(at, end);
            if (!change || std::llabs(*change) > (qint64(1) << 40)) return false;
            last = FromTenths(TenthsOf(last) + *change);
            return true;
        }
        case kFloat:
            if (end - at < 4) return false;
            last = std::bit_cast<float>(qFromLittleEndian<quint32>(at));
            at += 4;
            return true;
        default:
            return false;
    }
}

}  // namespace

PackState StartPacking(qint64 blockFirstMs) {
    PackState state;
    state.LastMs = blockFirstMs;
    return state;
}

void PackReading(QByteArray& packed, PackState& state, const StoredReading& reading) {
    const qsizetype tagAt = packed.size();
    packed.append(char(0));
    quint8 tag = kReading;
    const qint64 step = reading.TimeMs - state.LastMs;
    if (step != state.LastStepMs) {
        tag |= kStepChanged;
        PutVarint(packed, step - state.LastStepMs);
        state.LastStepMs = step;
    }
    state.LastMs = reading.TimeMs;
    tag |= quint8(PackValue(packed, state.T1, reading.T1) << kT1Shift);
    tag |= quint8(PackValue(packed, state.T2, reading.T2) << kT2Shift);
    const quint8 flags = FlagsOf(reading);
    if (flags != state.Flags) {
        tag |= kFlagsFollow;
        packed.append(char(flags));
        state.Flags = flags;
    }
    packed[tagAt] = char(tag);
}

QByteArray SealPacked(QByteArrayView packed, qint64 block, qint64 blockFirstMs) {
    QByteArray sealed;
    sealed.reserve(packed.size() + 1 + kChecksumBytes);
    sealed.append(packed.data(), packed.size());
    sealed.append(char(0));
    AppendChecksum(sealed, block, blockFirstMs);
    return sealed;
}

std::optional<std::vector<StoredReading>> UnpackBlock(QByteArrayView sealed, qint64 block,
                                                      qint64 blockFirstMs, int maxReadings,
                                                      PackedFailure* failure) {
    const auto fail = [&](PackedFailure why) -> std::optional<std::vector<StoredReading>> {
        if (failure) *failure = why;
        return std::nullopt;
    };
    if (failure) *failure = PackedFailure::None;
    if (!TimeInRange(blockFirstMs)) return fail(PackedFailure::Malformed);
    // The end mark is the first zero tag; the checksum follows it.
    std::vector<StoredReading> readings;
    PackState state = StartPacking(blockFirstMs);
    const char* at = sealed.data();
    const char* end = sealed.data() + sealed.size();
    while (true) {
        if (at >= end) return fail(PackedFailure::Malformed);
        const auto tag = quint8(*at++);
        if (tag == 0) break;
        if (!(tag & kReading) || (tag & kUnknownBits) || int(readings.size()) >= maxReadings) {
            return fail(PackedFailure::Malformed);
        }
        if (tag & kStepChanged) {
            const auto change = GetVarint(at, end);
            if (!change || !TimeInRange(*change) || !TimeInRange(state.LastStepMs + *change)) {
                return fail(PackedFailure::Malformed);
            }
            state.LastStepMs += *change;
        }
        // Both in range, so the sum is far from overflowing.
        state.LastMs += state.LastStepMs;
        if (!TimeInRange(state.LastMs)) return fail(PackedFailure::Malformed);
        if (!UnpackValue((tag >> kT1Shift) & 3, at, end, state.T1) ||
            !UnpackValue((tag >> kT2Shift) & 3, at, end, state.T2)) {
            return fail(PackedFailure::Malformed);
        }
        if (tag & kFlagsFollow) {
            if (at >= end) return fail(PackedFailure::Malformed);
            state.Flags = quint8(*at++);
        }
        StoredReading r;
        r.TimeMs = state.LastMs;
        r.T1 = state.T1;
        r.T2 = state.T2;
        r.T1Valid = state.Flags & kT1Valid;
        r.T2Valid = state.Flags & kT2Valid;
        r.Fahrenheit = state.Flags & kFahrenheit;
        r.T1Alarm = state.Flags & kT1Alarm;
        r.T2Alarm = state.Flags & kT2Alarm;
        readings.push_back(r);
    }
    const qsizetype used = (at - sealed.data()) + kChecksumBytes;
    if (used > sealed.size()) return fail(PackedFailure::Malformed);
    if (!CheckedBytes(sealed.first(used), block, blockFirstMs))
        return fail(PackedFailure::Checksum);
    return readings;
}

}  // namespace kr820::store
