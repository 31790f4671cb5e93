// SPDX-License-Identifier: MIT
#include "core/setup/meter_setup.h"

#include <algorithm>

#include "core/data/bcd_date_time.h"
#include "core/data/hex_text.h"

namespace kr820::core {
namespace {

// Record offsets.
constexpr int kPrintStart = 1;
constexpr int kPrintStop = 7;
constexpr int kPrintInterval = 13;
constexpr int kGraphInch = 14;
constexpr int kLowLimit = 15;
constexpr int kScaleWidth = 20;
constexpr int kRecordStart = 21;
constexpr int kRecordStop = 27;
constexpr int kRecordInterval = 33;
constexpr int kAutoPowerOff = 34;
constexpr int kAlarm = 35;
constexpr int kAlarmUpper = 36;
constexpr int kAlarmLower = 41;
constexpr int kPrintMode = 46;
constexpr int kThermocouple = 47;
constexpr int kUnshown = 48;
constexpr int kMeterClock = 61;
constexpr int kMemRecords = 70;
constexpr int kMemPointer = 75;

// The memory's end as the meter counts, and the bytes it keeps for itself.
constexpr std::uint32_t kMemoryEnd = 193554;
constexpr std::uint32_t kMemoryReserve = 18;

constexpr std::uint8_t ToBcd(int value) {
    return static_cast<std::uint8_t>(((value / 10) % 10) << 4 | (value % 10));
}

// The record from `offset` on; empty past its end.
QByteArrayView From(QByteArrayView record, int offset) {
    return record.sliced(std::min<qsizetype>(offset, record.size()));
}

std::uint8_t Byte(QByteArrayView record, int offset) {
    return offset < record.size() ? static_cast<std::uint8_t>(record[offset]) : 0;
}

// A hexadecimal text field: the meter's 16-bit two's complement number.
qint16 SignedHexField(QByteArrayView record, int offset, int width) {
    return static_cast<qint16>(ReadHexText(From(record, offset), width) & 0xFFFF);
}

}  // namespace

QByteArray EncodeBcdDateTime(const QDateTime& value) {
    const QDate date = value.date();
    const QTime time = value.time();
    QByteArray bytes(6, '\0');
    bytes[0] = static_cast<char>(ToBcd(date.year() - 2000));
    bytes[1] = static_cast<char>(ToBcd(date.month()));
    bytes[2] = static_cast<char>(ToBcd(date.day()));
    bytes[3] = static_cast<char>(ToBcd(time.hour()));
    bytes[4] = static_cast<char>(ToBcd(time.minute()));
    bytes[5] = static_cast<char>(ToBcd(time.second()));
    return bytes;
}

QDateTime DecodeBcdDateTime(QByteArrayView sixBytes, const QDateTime& now) {
    const auto field = [&](int i) {
        return i < sixBytes.size() ? FromBcd(static_cast<std::uint8_t>(sixBytes[i])) : -1;
    };
    const QDate date(2000 + field(0), field(1), field(2));
    const QTime time(field(3), field(4), field(5));
    return QDateTime(date.isValid() ? date : now.date(), time.isValid() ? time : now.time());
}

QByteArray HexField(qint32 value) {
    const QByteArray text =
        QByteArray::number(static_cast<quint32>(value), 16).toUpper().rightJustified(4, ' ');
    return text.right(4);
}

int MemoryLeft(std::uint32_t pointer) {
    std::uint32_t free = pointer >= kMemoryEnd ? 0 : kMemoryEnd - pointer;
    free = free <= kMemoryReserve ? 0 : free - kMemoryReserve;
    return static_cast<int>(free / 4);
}

MeterSetup DecodeMeterSetup(QByteArrayView record, const QDateTime& now) {
    MeterSetup setup;
    const auto dateTime = [&](int offset) { return DecodeBcdDateTime(From(record, offset), now); };
    setup.MeterClock = dateTime(kMeterClock);
    setup.TypeK = Byte(record, kThermocouple) == 1;
    setup.PrintStart = dateTime(kPrintStart);
    setup.PrintStop = dateTime(kPrintStop);
    setup.GraphPrintMode = Byte(record, kPrintMode) != 0;

    const int graphInch = Byte(record, kGraphInch);
    setup.GraphInchIndex = graphInch > 8 ? 7 : graphInch;
    setup.LowLimit = SignedHexField(record, kLowLimit, 4);
    const int scaleWidth = Byte(record, kScaleWidth);
    setup.ScaleWidthIndex = scaleWidth > 7 ? 2 : scaleWidth;
    const int printInterval = Byte(record, kPrintInterval);
    setup.PrintIntervalIndex = (printInterval == 0 || printInterval > 12 ? 2 : printInterval) - 1;

    setup.RecordStart = dateTime(kRecordStart);
    setup.RecordStop = dateTime(kRecordStop);
    // 13 is the last item, two hours: a meter set to it keeps it.
    const int recordInterval = Byte(record, kRecordInterval);
    setup.RecordIntervalIndex = recordInterval > 13 ? 1 : recordInterval;

    // Read to the first character that is no hexadecimal digit.
    setup.MemRecords = static_cast<qint16>(ReadHexText(From(record, kMemRecords)) & 0xFFFF);
    setup.MemLeft = MemoryLeft(ReadHexText(From(record, kMemPointer)));

    setup.AutoPowerOff = Byte(record, kAutoPowerOff) != 0;
    setup.AlarmOn = Byte(record, kAlarm) == 0;
    setup.AlarmUpperTenths = SignedHexField(record, kAlarmUpper, 4);
    setup.AlarmLowerTenths = SignedHexField(record, kAlarmLower, 4);
    for (int i = 0; i < 3; ++i) setup.Unshown[static_cast<size_t>(i)] = Byte(record, kUnshown + i);
    return setup;
}

QByteArray EncodeMeterSetup(const MeterSetup& setup) {
    QByteArray record(kWrittenSetupBytes + 1, '\0');
    const auto put = [&record](int offset, const QByteArray& bytes) {
        record.replace(offset, bytes.size(), bytes);
    };
    record[kThermocouple] = static_cast<char>(setup.TypeK ? 1 : 2);
    put(kPrintStart, EncodeBcdDateTime(setup.PrintStart));
    put(kPrintStop, EncodeBcdDateTime(setup.PrintStop));
    record[kPrintMode] = static_cast<char>(setup.GraphPrintMode ? 1 : 0);
    record[kGraphInch] = static_cast<char>(setup.GraphInchIndex);
    put(kLowLimit, HexField(setup.LowLimit));  // byte 19 stays 0, ending the text
    record[kScaleWidth] = static_cast<char>(setup.ScaleWidthIndex);
    record[kPrintInterval] = static_cast<char>(setup.PrintIntervalIndex + 1);
    put(kRecordStart, EncodeBcdDateTime(setup.RecordStart));
    put(kRecordStop, EncodeBcdDateTime(setup.RecordStop));
    record[kRecordInterval] = static_cast<char>(setup.RecordIntervalIndex);
    record[kAutoPowerOff] = static_cast<char>(setup.AutoPowerOff ? 1 : 0);
    record[kAlarm] = static_cast<char>(setup.AlarmOn ? 0 : 1);
    put(kAlarmUpper, HexField(setup.AlarmUpperTenths));
    put(kAlarmLower, HexField(setup.AlarmLowerTenths));
    for (int i = 0; i < 3; ++i) record[kUnshown + i] = static_cast<char>(setup.Unshown[i]);
    return record;
}

MeterSetup SetupAfterWrites(const MeterSetup& before, const MeterSetup& written, int count,
                            const QDateTime& now) {
    const int reached = std::clamp(count, 0, kWrittenSetupBytes);
    QByteArray record = EncodeMeterSetup(before);
    record.replace(1, reached, EncodeMeterSetup(written).mid(1, reached));
    record.resize(kSetupRecordBytes, '\0');
    MeterSetup after = DecodeMeterSetup(record, now);
    // Only read, never written.
    after.MeterClock = before.MeterClock;
    after.MemRecords = before.MemRecords;
    after.MemLeft = before.MemLeft;
    return after;
}

}  // namespace kr820::core
