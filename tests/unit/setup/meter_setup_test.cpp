// SPDX-License-Identifier: MIT
// The meter's setup record as the dialog shows it and as a save writes it back: codes out of
// their lists, hexadecimal limits, BCD date-times, the memory left, and what a save changes.
#include "core/setup/meter_setup.h"

#include <gtest/gtest.h>

#include "core/setup/setup_texts.h"

namespace kr820::core {
namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(21, 53, 8));

// A record as a meter sends it: every field valid, limits as blank-padded hexadecimal text.
QByteArray MeterRecord() {
    QByteArray record(kSetupRecordBytes, '\0');
    const auto put = [&record](int offset, const QByteArray& bytes) {
        record.replace(offset, bytes.size(), bytes);
    };
    put(1, QByteArray::fromHex("261207083000"));  // print start 2026-12-07 08:30:00
    put(7, QByteArray::fromHex("261207170000"));
    record[13] = 6;  // 00:01:00
    record[14] = 3;
    put(15, "  78");  // low limit 120
    record[20] = 4;
    put(21, QByteArray::fromHex("261208000000"));
    put(27, QByteArray::fromHex("261231235959"));
    record[33] = 6;
    record[34] = 1;
    record[35] = 0;
    put(36, "6194");  // 2498.0
    put(41, "F330");  // -328.0
    record[46] = 1;
    record[47] = 1;
    put(48, QByteArray::fromHex("0a0b0c"));
    put(61, QByteArray::fromHex("261207215055"));
    put(70, "01F4");  // 500 records
    put(75, "0007D0");
    return record;
}

TEST(MeterSetup, DecodesEveryFieldOfAWellFormedRecord) {
    const MeterSetup setup = DecodeMeterSetup(MeterRecord(), kNow);
    EXPECT_EQ(setup.PrintStart, QDateTime(QDate(2026, 12, 7), QTime(8, 30)));
    EXPECT_EQ(setup.PrintIntervalIndex, 5);
    EXPECT_EQ(setup.GraphInchIndex, 3);
    EXPECT_EQ(setup.LowLimit, 120);
    EXPECT_EQ(setup.ScaleWidthIndex, 4);
    EXPECT_EQ(setup.RecordStop, QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
    EXPECT_EQ(setup.RecordIntervalIndex, 6);
    EXPECT_TRUE(setup.AutoPowerOff);
    EXPECT_TRUE(setup.AlarmOn);
    EXPECT_EQ(setup.AlarmUpperTenths, 24980);
    EXPECT_EQ(setup.AlarmLowerTenths, -3280);
    EXPECT_TRUE(setup.GraphPrintMode);
    EXPECT_TRUE(setup.TypeK);
    EXPECT_EQ(setup.MeterClock, QDateTime(QDate(2026, 12, 7), QTime(21, 50, 55)));
    EXPECT_EQ(setup.MemRecords, 500);
    EXPECT_EQ(setup.MemLeft, (193554 - 2000 - 18) / 4);
}

TEST(MeterSetup, CodesOutOfTheirListsAreReplacedButTwoHoursIsKept) {
    QByteArray record = MeterRecord();
    record[14] = 9;
    record[20] = 8;
    record[13] = 0;
    record[33] = 13;
    MeterSetup setup = DecodeMeterSetup(record, kNow);
    EXPECT_EQ(setup.GraphInchIndex, 7) << "\"12\"";
    EXPECT_EQ(setup.ScaleWidthIndex, 2) << "\"50\"";
    EXPECT_EQ(setup.PrintIntervalIndex, 1) << "\"00:00:05\"";
    EXPECT_EQ(setup.RecordIntervalIndex, 13) << "\"02:00:00\", which the meter itself writes";
    EXPECT_EQ(static_cast<int>(EncodeMeterSetup(setup)[33]), 13) << "saved back unchanged";

    record[13] = 13;
    record[33] = 14;
    setup = DecodeMeterSetup(record, kNow);
    EXPECT_EQ(setup.PrintIntervalIndex, 1);
    EXPECT_EQ(setup.RecordIntervalIndex, 1);
}

TEST(MeterSetup, DateTimesThatDoNotDecodeTakeTodayAndTheCurrentTime) {
    EXPECT_EQ(DecodeBcdDateTime(QByteArray::fromHex("261399083000"), kNow),
              QDateTime(kNow.date(), QTime(8, 30)));
    EXPECT_EQ(DecodeBcdDateTime(QByteArray::fromHex("261207257000"), kNow),
              QDateTime(QDate(2026, 12, 7), kNow.time()));
    EXPECT_EQ(EncodeBcdDateTime(QDateTime(QDate(2031, 2, 3), QTime(4, 5, 59))).toHex(),
              "310203040559");
}

TEST(MeterSetup, MemoryLeftCountsFourByteRecordsBehindThePointer) {
    EXPECT_EQ(MemoryLeft(0), 48384);
    EXPECT_EQ(MemoryLeft(193554), 0);
    EXPECT_EQ(MemoryLeft(4000000), 0);
    EXPECT_EQ(MemoryLeft(193554 - 18), 0);
    EXPECT_EQ(MemoryLeft(193554 - 22), 1);
}

TEST(MeterSetup, LimitsAreStoredAsTheLastFourCharactersOfTheirHexadecimalText) {
    EXPECT_EQ(HexField(-220), "FF24");
    EXPECT_EQ(HexField(120), "  78");
    EXPECT_EQ(HexField(0), "   0");
    EXPECT_EQ(*LowLimitValue("-225"), -220);
    EXPECT_EQ(*LowLimitValue("2398"), 2390);
    EXPECT_EQ(*LowLimitValue(" 127 "), 120);
    EXPECT_FALSE(LowLimitValue("12.5"));
    EXPECT_FALSE(LowLimitValue("abc"));

    const QLocale c = QLocale::c();
    EXPECT_EQ(HexField(*AlarmLimitTenths("2498.0", c)), "6194");
    EXPECT_EQ(HexField(*AlarmLimitTenths("-328.0", c)), "F330");
    EXPECT_EQ(*AlarmLimitTenths("-0.07", c), 0) << "cut toward zero";
    EXPECT_FALSE(AlarmLimitTenths("high", c));
    EXPECT_EQ(AlarmLimitText(24980, c), "2498.0");
    EXPECT_EQ(AlarmLimitText(-3280, QLocale("de_DE")), "-328,0");
}

// A value the meter cannot hold is refused, never stored wrapped (5000 came back as -1553.6).
TEST(MeterSetup, LimitsOutsideWhatTheMeterHoldsAreRefusedNamingTheRange) {
    const QLocale c = QLocale::c();
    EXPECT_EQ(AlarmLimitTenths("3276.7", c), qint16(32767));
    EXPECT_EQ(AlarmLimitTenths("3276.79", c), qint16(32767)) << "cut toward zero first";
    EXPECT_EQ(AlarmLimitTenths("-3276.8", c), qint16(-32768));
    for (const char* beyond : {"3276.8", "-3276.9", "5000", "99999", "1e30"}) {
        SCOPED_TRACE(beyond);
        EXPECT_FALSE(AlarmLimitTenths(beyond, c));
        EXPECT_EQ(AlarmLimitProblem("Alarm Upper", beyond, c),
                  QStringLiteral("Alarm Upper: \"%1\" is outside what the meter holds, -3276.8 "
                                 "to 3276.7.")
                      .arg(beyond));
    }
    EXPECT_EQ(AlarmLimitProblem("Alarm Lower", "-3276,9", QLocale("de_DE")),
              "Alarm Lower: \"-3276,9\" is outside what the meter holds, -3276,8 to 3276,7.");

    EXPECT_EQ(LowLimitValue("-220"), -220);
    EXPECT_EQ(LowLimitValue("2400"), 2400);
    EXPECT_EQ(LowLimitValue("2409"), 2400);
    for (const char* beyond : {"-230", "2410", "70000"}) {
        SCOPED_TRACE(beyond);
        EXPECT_FALSE(LowLimitValue(beyond));
        EXPECT_EQ(LowLimitProblem(beyond),
                  QStringLiteral("Low Limit: \"%1\" is outside what the meter holds, -220 to "
                                 "2400.")
                      .arg(beyond));
    }
}

TEST(MeterSetup, ASaveThatBrokeOffLeavesTheBytesBeforeItsFailureWritten) {
    const MeterSetup before = DecodeMeterSetup(MeterRecord(), kNow);
    MeterSetup written = before;
    written.RecordStart = before.RecordStart.addDays(1);  // bytes 21 to 26
    written.RecordIntervalIndex = 0;                      // byte 33
    written.TypeK = false;                                // byte 47
    written.MemRecords = 0;                               // only read

    const MeterSetup partly = SetupAfterWrites(before, written, 32, kNow);
    EXPECT_EQ(partly.RecordStart, written.RecordStart);
    EXPECT_EQ(partly.RecordIntervalIndex, before.RecordIntervalIndex);
    EXPECT_TRUE(partly.TypeK);
    EXPECT_EQ(SetupAfterWrites(before, written, 0, kNow), before);
    MeterSetup whole = written;
    whole.MemRecords = before.MemRecords;
    EXPECT_EQ(SetupAfterWrites(before, written, kWrittenSetupBytes, kNow), whole);
}

TEST(MeterSetup, ASaveWritesBackWhatWasReadByteForByte) {
    const QByteArray record = MeterRecord();
    const QByteArray written = EncodeMeterSetup(DecodeMeterSetup(record, kNow));
    ASSERT_EQ(written.size(), kWrittenSetupBytes + 1);
    EXPECT_EQ(written.mid(1).toHex(' '), record.mid(1, kWrittenSetupBytes).toHex(' '));
}

TEST(MeterSetup, ChangesAreListedFieldByFieldAndTheClockOffsetIsSaid) {
    const MeterSetup read = DecodeMeterSetup(MeterRecord(), kNow);
    MeterSetup edited = read;
    EXPECT_TRUE(SetupChanges(read, edited, QLocale::c()).isEmpty());
    edited.RecordIntervalIndex = 0;
    edited.TypeK = false;
    EXPECT_EQ(SetupChanges(read, edited, QLocale::c()),
              (QStringList{"Record interval: 00:01:00 → 00:00:01", "Thermocouple: K → J"}));

    EXPECT_EQ(ClockOffsetText(kNow.addSecs(-133), kNow),
              "Meter clock 2 min 13 s behind this computer");
    EXPECT_EQ(ClockOffsetText(kNow.addSecs(3600 + 5), kNow),
              "Meter clock 1 h 5 s ahead of this computer");
    EXPECT_EQ(ClockOffsetText(kNow, kNow), "Meter clock agrees with this computer");
}

}  // namespace
}  // namespace kr820::core
