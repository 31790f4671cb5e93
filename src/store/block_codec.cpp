// SPDX-License-Identifier: MIT
#include "store/block_codec.h"

#include <QtEndian>
#include <bit>
#include <cstring>

#include "store/packed_block.h"
#include "store/store_format.h"

namespace kr820::store {
namespace {

enum Flag : quint8 {
    kT1Valid = 0x01,
    kT2Valid = 0x02,
    kFahrenheit = 0x04,
    kT1Alarm = 0x08,
    kT2Alarm = 0x10,
};

void PutFloat(char* at, float value) { qToLittleEndian(std::bit_cast<quint32>(value), at); }

float GetFloat(const char* at) { return std::bit_cast<float>(qFromLittleEndian<quint32>(at)); }

}  // namespace

void AppendToBlock(QByteArray& block, qint64 blockFirstMs, const StoredReading& reading) {
    char bytes[kReadingBytes];
    const auto offset = static_cast<quint64>(reading.TimeMs - blockFirstMs);
    for (int i = 0; i < 6; ++i) bytes[i] = static_cast<char>((offset >> (8 * i)) & 0xff);
    PutFloat(bytes + 6, reading.T1);
    PutFloat(bytes + 10, reading.T2);
    quint8 flags = 0;
    if (reading.T1Valid) flags |= kT1Valid;
    if (reading.T2Valid) flags |= kT2Valid;
    if (reading.Fahrenheit) flags |= kFahrenheit;
    if (reading.T1Alarm) flags |= kT1Alarm;
    if (reading.T2Alarm) flags |= kT2Alarm;
    bytes[14] = static_cast<char>(flags);
    block.append(bytes, kReadingBytes);
}

StoredReading ReadingInBlock(QByteArrayView block, qint64 blockFirstMs, int position) {
    const char* at = block.data() + qsizetype(position) * kReadingBytes;
    quint64 offset = 0;
    for (int i = 0; i < 6; ++i) offset |= quint64(quint8(at[i])) << (8 * i);
    // Signed: a reading after the clock was set back lies before its block's first one.
    if (offset & (quint64(1) << 47)) offset |= ~((quint64(1) << 48) - 1);
    const auto flags = quint8(at[14]);
    StoredReading reading;
    reading.TimeMs = blockFirstMs + static_cast<qint64>(offset);
    reading.T1 = GetFloat(at + 6);
    reading.T2 = GetFloat(at + 10);
    reading.T1Valid = flags & kT1Valid;
    reading.T2Valid = flags & kT2Valid;
    reading.Fahrenheit = flags & kFahrenheit;
    reading.T1Alarm = flags & kT1Alarm;
    reading.T2Alarm = flags & kT2Alarm;
    return reading;
}

std::optional<std::vector<StoredReading>> DecodeBlock(QByteArrayView block, qint64 blockFirstMs) {
    if (block.size() % kReadingBytes != 0 || block.size() > kBlockReadings * kReadingBytes ||
        !TimeInRange(blockFirstMs)) {
        return std::nullopt;
    }
    std::vector<StoredReading> readings;
    const int count = int(block.size() / kReadingBytes);
    readings.reserve(count);
    for (int i = 0; i < count; ++i) readings.push_back(ReadingInBlock(block, blockFirstMs, i));
    return readings;
}

std::optional<std::vector<StoredReading>> DecodeStoredBlock(int format, QByteArrayView stored,
                                                            qint64 block, qint64 blockFirstMs,
                                                            bool* checksumFailed) {
    if (checksumFailed) *checksumFailed = false;
    if (format < kPackedFormatVersion) return DecodeBlock(stored, blockFirstMs);
    PackedFailure failure = PackedFailure::None;
    auto readings = UnpackBlock(stored, block, blockFirstMs, kBlockReadings, &failure);
    if (checksumFailed) *checksumFailed = failure == PackedFailure::Checksum;
    return readings;
}

}  // namespace kr820::store
