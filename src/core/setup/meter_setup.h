// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <array>
#include <cstdint>

#include "core/protocol/command_table.h"

namespace kr820::core {

// The meter's setup record: the read-setup command's whole reply (86 bytes). Bytes 1 to 50 are
// written back one by one to the meter's setup addresses 0x40 to 0x71; the rest is only read.
inline constexpr int kSetupRecordBytes = kReadSetup.replyBytes;
inline constexpr int kFirstSetupAddress = 0x40;
inline constexpr int kLastSetupAddress = 0x71;
inline constexpr int kWrittenSetupBytes = kLastSetupAddress - kFirstSetupAddress + 1;  // 50

// What the record's fields can hold as given. Dates keep the year as two BCD digits after 2000;
// the alarm limits are 16-bit tenths of a degree; the print low limit is whole degrees within
// what the meter prints.
inline constexpr int kFirstMeterYear = 2000;
inline constexpr int kLastMeterYear = 2099;
inline constexpr int kLowestLowLimit = -220;
inline constexpr int kHighestLowLimit = 2400;
inline constexpr int kLowestAlarmTenths = -32768;
inline constexpr int kHighestAlarmTenths = 32767;

// What the record holds, as the setup dialog shows and edits it. Indexes are into the lists of
// setup_lists.h; limits are in degrees (the low limit, whole) and tenths (the alarms, as read).
struct MeterSetup {
    QDateTime PrintStart, PrintStop;
    int PrintIntervalIndex = 1;  // code - 1
    int GraphInchIndex = 0;
    int LowLimit = 0;
    int ScaleWidthIndex = 0;
    QDateTime RecordStart, RecordStop;
    int RecordIntervalIndex = 0;
    bool AutoPowerOff = true;
    bool AlarmOn = true;
    qint16 AlarmUpperTenths = 24980;
    qint16 AlarmLowerTenths = -3280;
    bool GraphPrintMode = true;
    bool TypeK = true;
    // Bytes 48 to 50: not shown, written back as they were read.
    std::array<std::uint8_t, 3> Unshown = {0, 0, 0};
    QDateTime MeterClock;
    int MemRecords = 0;
    int MemLeft = 32000;  // 4-byte records that still fit

    bool operator==(const MeterSetup&) const = default;
};

// Shows a record: codes out of their lists are replaced as the dialog always has (graph inches
// above 8 by 7, scale width above 7 by 2, print interval 0 or above 12 by 2, record interval
// above 13 by 1), and date-times that do not decode take `now`'s date and time.
MeterSetup DecodeMeterSetup(QByteArrayView record, const QDateTime& now);

// Bytes 0 to 50 of a record for `setup`, the ones the save writes (byte 0 is 0).
QByteArray EncodeMeterSetup(const MeterSetup& setup);

// What the meter holds after only the first `count` of the written bytes of `written` reached it
// over `before` (a save that broke off); the fields no save writes stay those of `before`.
MeterSetup SetupAfterWrites(const MeterSetup& before, const MeterSetup& written, int count,
                            const QDateTime& now);

// Four characters of C's "%4X" of `value` widened to 32 bits, the last four: -220 is "FF24",
// 120 is "  78".
QByteArray HexField(qint32 value);

// Six BCD bytes year - 2000, month, day, hour, minute, second; and back, with today's date or
// the current time for a part that does not decode.
QByteArray EncodeBcdDateTime(const QDateTime& value);
QDateTime DecodeBcdDateTime(QByteArrayView sixBytes, const QDateTime& now);

// What fits in the memory after `pointer`, in 4-byte records.
int MemoryLeft(std::uint32_t pointer);

}  // namespace kr820::core
