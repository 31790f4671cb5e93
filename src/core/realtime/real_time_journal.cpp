// SPDX-License-Identifier: MIT
#include "core/realtime/real_time_journal.h"

#include <array>
#include <cmath>

#include "core/chart/little_endian_io.h"
#include "core/realtime/real_time_rates.h"

namespace kr820::core {
namespace {

constexpr char kMagic[] = "KR820RJ1";
constexpr qsizetype kMagicBytes = sizeof(kMagic) - 1;
constexpr std::uint16_t kMaxJournalPayload = 32;
// A mark's kind, time, Y and text.
constexpr std::uint16_t kMaxMarkPayload = 1 + 8 + 8 + kMaxMarkTextBytes;
constexpr qsizetype kLengthBytes = 2;
constexpr qsizetype kCrcBytes = 4;

constexpr std::uint8_t kStartKind = 'S';
constexpr std::uint8_t kPointKind = 'P';
constexpr std::uint8_t kStopKind = 'E';
constexpr std::uint8_t kMarkKind = 'M';

constexpr std::uint8_t kT1OutOfRange = 0x01;
constexpr std::uint8_t kT2OutOfRange = 0x02;

constexpr std::array<quint32, 256> MakeCrcTable() {
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
constexpr std::array<quint32, 256> kCrcTable = MakeCrcTable();

// Length, payload, CRC over both.
QByteArray Record(const QByteArray& payload) {
    QByteArray record;
    LittleEndianWriter out(record);
    out.U16(static_cast<std::uint16_t>(payload.size()));
    out.Raw(payload);
    out.U32(Crc32(record));
    return record;
}

bool IsTemperature(float value) { return std::isfinite(value); }

// One checked record's payload, or nothing when the next bytes are no whole record.
std::optional<QByteArrayView> NextPayload(QByteArrayView bytes, qsizetype& pos) {
    LittleEndianReader in(bytes.sliced(pos));
    std::uint16_t length = 0;
    if (!in.U16(length) || length == 0 || length > kMaxMarkPayload) return std::nullopt;
    QByteArrayView payload;
    std::uint32_t crc = 0;
    if (!in.Raw(length, payload) || !in.U32(crc)) return std::nullopt;
    if (Crc32(bytes.sliced(pos, kLengthBytes + length)) != crc) return std::nullopt;
    pos += kLengthBytes + length + kCrcBytes;
    return payload;
}

std::optional<RealTimeJournalStart> DecodeStart(QByteArrayView payload) {
    LittleEndianReader in(payload);
    std::uint8_t kind = 0;
    RealTimeJournalStart start;
    if (!in.U8(kind) || kind != kStartKind || !in.F64(start.Start) || !in.I32(start.RateIndex) ||
        !in.I32(start.RequestedPoints) || !in.AtEnd())
        return std::nullopt;
    const bool sound = IsShownDateTime(start.Start) && start.RateIndex >= 0 &&
                       start.RateIndex < static_cast<qint32>(kRealTimeRates.size()) &&
                       start.RequestedPoints > 0 && start.RequestedPoints <= kMaxRealTimePoints;
    return sound ? std::optional(start) : std::nullopt;
}

std::optional<RealTimeJournalPoint> DecodePoint(LittleEndianReader& in) {
    RealTimeJournalPoint point;
    std::uint8_t flags = 0;
    if (!in.F64(point.Time) || !in.F32(point.Sample.T1) || !in.F32(point.Sample.T2) ||
        !in.U8(flags) || !in.AtEnd())
        return std::nullopt;
    if (!IsShownDateTime(point.Time) || !IsTemperature(point.Sample.T1) ||
        !IsTemperature(point.Sample.T2) || (flags & ~(kT1OutOfRange | kT2OutOfRange)) != 0)
        return std::nullopt;
    point.Sample.T1OutOfRange = (flags & kT1OutOfRange) != 0;
    point.Sample.T2OutOfRange = (flags & kT2OutOfRange) != 0;
    return point;
}

std::optional<RealTimeJournalMark> DecodeMark(LittleEndianReader& in, QByteArrayView payload) {
    RealTimeJournalMark mark;
    if (!in.F64(mark.Time) || !in.F64(mark.Y)) return std::nullopt;
    if (!IsShownDateTime(mark.Time) || !std::isfinite(mark.Y)) return std::nullopt;
    constexpr qsizetype kTextAt = 1 + 8 + 8;
    mark.Text = QString::fromUtf8(payload.sliced(kTextAt));
    return mark;
}

// A point's record is never longer than this; only a mark's may be.
bool FitsItsKind(QByteArrayView payload) {
    return payload.size() <= kMaxJournalPayload || payload.front() == static_cast<char>(kMarkKind);
}

}  // namespace

quint32 Crc32(QByteArrayView bytes) {
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : bytes) c = kCrcTable[(c ^ static_cast<quint8>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray JournalMagic() { return QByteArray(kMagic, kMagicBytes); }

QByteArray EncodeJournalStart(const RealTimeJournalStart& start) {
    QByteArray payload;
    LittleEndianWriter out(payload);
    out.U8(kStartKind);
    out.F64(start.Start);
    out.I32(start.RateIndex);
    out.I32(start.RequestedPoints);
    return Record(payload);
}

QByteArray EncodeJournalPoint(const RealTimeJournalPoint& point) {
    QByteArray payload;
    LittleEndianWriter out(payload);
    out.U8(kPointKind);
    out.F64(point.Time);
    out.F32(point.Sample.T1);
    out.F32(point.Sample.T2);
    out.U8((point.Sample.T1OutOfRange ? kT1OutOfRange : 0) |
           (point.Sample.T2OutOfRange ? kT2OutOfRange : 0));
    return Record(payload);
}

QByteArray EncodeJournalMark(const RealTimeJournalMark& mark) {
    QByteArray text = mark.Text.toUtf8();
    if (text.size() > kMaxMarkTextBytes) {
        // Cut at a character's start, never inside one.
        qsizetype cut = kMaxMarkTextBytes;
        while (cut > 0 && (static_cast<quint8>(text[cut]) & 0xC0) == 0x80) --cut;
        text.truncate(cut);
    }
    QByteArray payload;
    LittleEndianWriter out(payload);
    out.U8(kMarkKind);
    out.F64(mark.Time);
    out.F64(mark.Y);
    out.Raw(text);
    return Record(payload);
}

QByteArray EncodeJournalStop(TDateTime stopped) {
    QByteArray payload;
    LittleEndianWriter out(payload);
    out.U8(kStopKind);
    out.F64(stopped);
    return Record(payload);
}

qint64 MaxJournalBytes() {
    const qint64 largestRecord = kLengthBytes + kMaxJournalPayload + kCrcBytes;
    const qint64 largestMark = kLengthBytes + kMaxMarkPayload + kCrcBytes;
    return kMagicBytes + largestRecord * (kMaxRealTimePoints + 2) + largestMark * kMaxRealTimeMarks;
}

std::optional<RealTimeJournal> DecodeJournal(QByteArrayView bytes) {
    if (!bytes.startsWith(QByteArrayView(kMagic, kMagicBytes))) return std::nullopt;
    qsizetype pos = kMagicBytes;
    const std::optional<QByteArrayView> first = NextPayload(bytes, pos);
    if (!first) return std::nullopt;
    const std::optional<RealTimeJournalStart> start = DecodeStart(*first);
    if (!start) return std::nullopt;

    RealTimeJournal journal;
    journal.Start = *start;
    while (pos < bytes.size()) {
        const std::optional<QByteArrayView> payload = NextPayload(bytes, pos);
        if (!payload || !FitsItsKind(*payload)) {
            journal.DamagedEnd = true;
            break;
        }
        LittleEndianReader in(*payload);
        std::uint8_t kind = 0;
        in.U8(kind);
        if (kind == kPointKind &&
            static_cast<qsizetype>(journal.Points.size()) < start->RequestedPoints) {
            if (const auto point = DecodePoint(in)) {
                journal.Points.push_back(*point);
                continue;
            }
        } else if (kind == kMarkKind &&
                   static_cast<qsizetype>(journal.Marks.size()) < kMaxRealTimeMarks) {
            if (const auto mark = DecodeMark(in, *payload)) {
                journal.Marks.push_back(*mark);
                continue;
            }
        } else if (kind == kStopKind) {
            TDateTime stopped = 0;
            if (in.F64(stopped) && in.AtEnd() && IsShownDateTime(stopped)) {
                journal.Stopped = stopped;
                // Nothing is written after the stop; whatever follows is not this recording's.
                journal.DamagedEnd = pos < bytes.size();
                break;
            }
        }
        journal.DamagedEnd = true;
        break;
    }
    return journal;
}

}  // namespace kr820::core
