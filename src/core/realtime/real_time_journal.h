// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <optional>
#include <vector>

#include "core/realtime/real_time_sample.h"
#include "core/time/date_time.h"

namespace kr820::core {

// A running real-time recording, kept on disk point by point so that a crash does not take it:
// what is needed to show it again as if it had just stopped.
//
// The file is the magic "KR820RJ1", then records, each
//   U16 n (payload bytes, 1..kMaxJournalPayload), n payload bytes, U32 CRC-32 of the n field and
//   the payload,
// all little-endian. The payload's first byte says what it is: 'S' the start (F64 start time,
// I32 rate index, I32 points asked for), first and once; 'P' a point (F64 time, F32 T1, F32 T2
// in the display unit, U8 bit 0 T1 out of range, bit 1 T2 out of range); 'M' a mark on the
// chart, such as an alarm raised or cleared (F64 time, F64 Y, its text in UTF-8 to the end of
// the payload); 'E' the stop (F64).
// Records are only ever appended, so a crash can damage the last one at most: reading stops at
// the first record that does not check and keeps everything before it.

inline constexpr int kMaxRealTimePoints = 99999;  // five digits in the set-up dialog
// Marks come from alarms, a few per hour at worst; more than this is damage, not alarms.
inline constexpr int kMaxRealTimeMarks = 4096;
inline constexpr int kMaxMarkTextBytes = 200;

struct RealTimeJournalStart {
    TDateTime Start = 0;
    qint32 RateIndex = 0;  // into kRealTimeRates
    qint32 RequestedPoints = 0;
};

struct RealTimeJournalPoint {
    TDateTime Time = 0;
    RealTimeSample Sample;
};

// A text pinned to the chart at a time, at the height of the value it tells of.
struct RealTimeJournalMark {
    TDateTime Time = 0;
    double Y = 0;
    QString Text;  // encoded cut to kMaxMarkTextBytes

    bool operator==(const RealTimeJournalMark&) const = default;
};

struct RealTimeJournal {
    RealTimeJournalStart Start;
    std::vector<RealTimeJournalPoint> Points;
    std::vector<RealTimeJournalMark> Marks;
    std::optional<TDateTime> Stopped;
    // Reading ended at a record that did not check (torn, garbled or out of place).
    bool DamagedEnd = false;
};

QByteArray JournalMagic();
QByteArray EncodeJournalStart(const RealTimeJournalStart& start);
QByteArray EncodeJournalPoint(const RealTimeJournalPoint& point);
QByteArray EncodeJournalMark(const RealTimeJournalMark& mark);
QByteArray EncodeJournalStop(TDateTime stopped);

// Nothing when the bytes are no journal: another magic, or no whole start record. Sizes read from
// the bytes are checked before they are used; points beyond the number asked for are damage.
std::optional<RealTimeJournal> DecodeJournal(QByteArrayView bytes);

// The largest file a whole recording makes; reading takes no more than this.
qint64 MaxJournalBytes();

// CRC-32 (IEEE 802.3, reflected, as zlib computes it).
quint32 Crc32(QByteArrayView bytes);

}  // namespace kr820::core
