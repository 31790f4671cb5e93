// SPDX-License-Identifier: MIT
#include "store/envelope.h"

#include <QtEndian>
#include <algorithm>
#include <bit>

#include "store/checksum.h"
#include "store/store_format.h"

namespace kr820::store {

void ChannelSpan::Take(float value) {
    Min = std::min(Min, value);
    Max = std::max(Max, value);
    Sum += value;
    ++Count;
}

void ChannelSpan::Merge(const ChannelSpan& other) {
    Min = std::min(Min, other.Min);
    Max = std::max(Max, other.Max);
    Sum += other.Sum;
    Count += other.Count;
}

void Envelope::Take(const StoredReading& reading) {
    if (Readings == 0) FirstMs = reading.TimeMs;
    LastMs = reading.TimeMs;
    ++Readings;
    if (reading.T1Valid) T1.Take(reading.T1);
    if (reading.T2Valid) T2.Take(reading.T2);
}

void Envelope::Merge(const Envelope& other) {
    if (other.Readings == 0) return;
    if (Readings == 0) FirstMs = other.FirstMs;
    LastMs = other.LastMs;
    Readings += other.Readings;
    T1.Merge(other.T1);
    T2.Merge(other.T2);
}

Envelope EnvelopeOf(std::span<const StoredReading> readings) {
    Envelope envelope;
    for (const auto& reading : readings) envelope.Take(reading);
    return envelope;
}

namespace {

template <typename T>
void Put(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

template <typename T>
T Get(const char*& at) {
    const T value = qFromLittleEndian<T>(at);
    at += sizeof(T);
    return value;
}

void PutSpan(QByteArray& out, const ChannelSpan& span) {
    Put(out, std::bit_cast<quint32>(span.Min));
    Put(out, std::bit_cast<quint32>(span.Max));
    Put(out, std::bit_cast<quint64>(span.Sum));
    Put(out, span.Count);
}

ChannelSpan GetSpan(const char*& at) {
    ChannelSpan span;
    span.Min = std::bit_cast<float>(Get<quint32>(at));
    span.Max = std::bit_cast<float>(Get<quint32>(at));
    span.Sum = std::bit_cast<double>(Get<quint64>(at));
    span.Count = Get<quint32>(at);
    return span;
}

}  // namespace

QByteArray EncodeEnvelopes(std::span<const Envelope> entries) {
    QByteArray out;
    out.reserve(qsizetype(entries.size()) * kEnvelopeBytes);
    for (const auto& entry : entries) {
        Put(out, entry.FirstMs);
        Put(out, entry.LastMs);
        Put(out, entry.Readings);
        PutSpan(out, entry.T1);
        PutSpan(out, entry.T2);
    }
    return out;
}

std::optional<std::vector<Envelope>> DecodeEnvelopes(QByteArrayView bytes) {
    if (bytes.size() % kEnvelopeBytes != 0) return std::nullopt;
    std::vector<Envelope> entries(size_t(bytes.size() / kEnvelopeBytes));
    const char* at = bytes.data();
    for (auto& entry : entries) {
        entry.FirstMs = Get<qint64>(at);
        entry.LastMs = Get<qint64>(at);
        entry.Readings = Get<quint32>(at);
        entry.T1 = GetSpan(at);
        entry.T2 = GetSpan(at);
    }
    return entries;
}

QByteArray EncodeChunk(int format, std::span<const Envelope> entries, int level, qint64 chunk) {
    QByteArray bytes = EncodeEnvelopes(entries);
    if (format >= kPackedFormatVersion) AppendChecksum(bytes, level, chunk);
    return bytes;
}

std::optional<std::vector<Envelope>> DecodeChunk(int format, QByteArrayView stored, int level,
                                                 qint64 chunk) {
    if (format < kPackedFormatVersion) return DecodeEnvelopes(stored);
    const auto bytes = CheckedBytes(stored, level, chunk);
    if (!bytes) return std::nullopt;
    return DecodeEnvelopes(*bytes);
}

}  // namespace kr820::store
