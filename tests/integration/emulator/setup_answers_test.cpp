// SPDX-License-Identifier: MIT
// The meter's setup commands answered on the test's own time: the record byte for byte, what a
// setup write, a clock setting and an erase change in it, and each setup fault.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "command_frame.h"
#include "hex.h"
#include "logger_memory_builder.h"
#include "meter_answers.h"
#include "setup_record.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono_literals;
using testing::FromHex;
using testing::ToHex;

constexpr char kReadSetup[] = "O";

// A setup write as the PC's C code prints it: address "%6.d", value "%3.d", each ended by 0.
std::string WriteBody(int address, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "wE%6.d%c%3.d%c", address, 0, value, 0);
    return std::string(text, 13);
}

// The record's bytes that differ from `before`.
std::vector<std::size_t> ChangedBytes(const std::string& before, const std::string& after) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
        if (before[i] != after[i]) changed.push_back(i);
    return changed;
}

class SetupCommands : public ::testing::Test {
protected:
    std::string Send(std::string_view body, std::chrono::milliseconds at = 0ms) {
        return m_meter.Answer(body, at);
    }
    std::string Record(std::chrono::milliseconds at = 0ms) { return Send(kReadSetup, at); }
    std::string ClockBytes(std::chrono::milliseconds at) {
        return ToHex(Record(at).substr(kSetupClockAt, 6));
    }

    MeterAnswers m_meter;
};

TEST_F(SetupCommands, DefaultRecordPutsEveryFieldAtItsOffset) {
    ASSERT_FALSE(Send("WRTC240131235959").empty());
    EXPECT_EQ(ToHex(Record()),
              "02"
              "240314090000"
              "240314170000"  // print start and stop
              "02"
              "02"
              "20202030"
              "00"  // print interval code, graph inches, low limit "   0"
              "02"
              "240315080000"
              "240316080000"  // scale width, record start and stop
              "00"
              "01"
              "00"  // record interval, auto power-off, alarm on
              "36313934"
              "00"
              "46333330"
              "00"  // alarm upper "6194" (2498.0), lower "F330" (-328.0)
              "01"
              "01"
              "000000"  // graph printing, type K, the unshown bytes
              "00000000000000000000"
              "240131235959"
              "000000"  // the meter's clock
              "3300000000"
              "31303142450000"
              "00000000");  // 3 data sets, next free byte 0x101BE
    EXPECT_EQ(m_meter.SetupRecord(0ms), Record());
}

TEST(SetupRecordFields, HexFieldIsTheLastFourCharactersOfPercent4X) {
    EXPECT_EQ(HexField(-220), "FF24");
    EXPECT_EQ(HexField(120), "  78");
    EXPECT_EQ(HexField(0), "   0");
    EXPECT_EQ(HexField(-1), "FFFF");
    EXPECT_EQ(HexField(0x12345), "2345");
}

TEST_F(SetupCommands, EveryWriteChangesExactlyItsByteAndIsEchoed) {
    // Value 0 prints as three blanks.
    const std::string first = FromHex("02774520202020363400202020008603");
    ASSERT_EQ(ToHex(Send(first.substr(1, 13))), ToHex(first));
    EXPECT_EQ(Record()[1], '\0');

    for (int address = kFirstSetupAddress; address <= kLastSetupAddress; ++address) {
        SCOPED_TRACE(address);
        const std::string before = Record();
        const std::size_t offset = static_cast<std::size_t>(address - 0x3F);
        const int value = static_cast<std::uint8_t>(~before[offset]);
        const std::string body = WriteBody(address, value);
        EXPECT_EQ(ToHex(Send(body)), ToHex(FrameCommand(body)));
        const std::string after = Record();
        EXPECT_EQ(ChangedBytes(before, after), std::vector<std::size_t>{offset});
        EXPECT_EQ(static_cast<std::uint8_t>(after[offset]), value);
    }
}

TEST_F(SetupCommands, WritesTheMeterCannotReadAreNeitherStoredNorEchoed) {
    const std::string before = Record();
    const std::string unreadable[] = {
        WriteBody(0x3F, 1),                   // below the first address
        WriteBody(0x72, 1),                   // past the last
        std::string("wE000064\0  1\0", 13),   // leading zeros: not "%6.d"
        std::string("wE    64\0  0\0", 13),   // zero printed as a digit: not "%3.d"
        std::string("wE    64\0" "256\0", 13), // not a byte
        std::string("wE    64\0 1 \0", 13),   // not right-aligned
        std::string("wE    64 \0  1\0", 13),  // the zero byte one place late
        std::string("wF    64\0  1\0", 13),   // not "wE"
    };
    for (const std::string& body : unreadable) {
        SCOPED_TRACE(ToHex(body));
        EXPECT_EQ(Send(body), "");
    }
    EXPECT_EQ(ToHex(Record()), ToHex(before));
}

TEST_F(SetupCommands, ClockRunsOnFromItsSettingAcrossTheYear) {
    const std::string frame = FromHex("0257525443323431323331323335393539AE03");
    EXPECT_EQ(ToHex(Send(frame.substr(1, 16), 1000ms)), ToHex(frame));
    EXPECT_EQ(ClockBytes(1000ms), "241231235959");
    EXPECT_EQ(ClockBytes(1999ms), "241231235959");
    EXPECT_EQ(ClockBytes(2000ms), "250101000000");
    EXPECT_EQ(ClockBytes(62500ms), "250101000100");

    // A date that does not exist is held as it came, as the meter's clock would show it.
    EXPECT_FALSE(Send("WRTC241331120000", 0ms).empty());
    EXPECT_EQ(ClockBytes(90000ms), "241331120000");
    EXPECT_FALSE(Send("WRTC2402;0120000", 0ms).empty());  // ';' is the nibble 0xB
    EXPECT_EQ(ClockBytes(90000ms), "2402B0120000");

    // A character that is no nibble + 0x30 is not a clock setting at all.
    EXPECT_EQ(Send("WRTC2402A0120000", 0ms), "");
    EXPECT_EQ(ClockBytes(90000ms), "2402B0120000");
}

TEST_F(SetupCommands, EraseEmptiesTheMemoryAndTheRecordsTexts) {
    const std::string before = Record();
    EXPECT_EQ(ToHex(Send("CLRM")), "02434C524DAE03");
    EXPECT_EQ(Send("HEAD"), std::string("\x02HEAD        0 0000FFFF  \x03"));
    EXPECT_EQ(Send("DOWN"), "");
    const std::string after = Record();
    EXPECT_EQ(ToHex(after.substr(kSetupSetCountAt)),
              "3000000000"
              "30000000000000"
              "00000000");
    EXPECT_EQ(after.substr(0, kSetupSetCountAt), before.substr(0, kSetupSetCountAt));
}

TEST_F(SetupCommands, RecordsTextsFollowEveryNewMemoryButKeepWhatWasSetUntilThen) {
    DataSet set;
    set.pairs.resize(10);  // 18 + 40 bytes
    m_meter.Logger().SetMemory(BuildMemoryImage({set, set}));
    EXPECT_EQ(ToHex(Record().substr(kSetupSetCountAt, 12)), "320000000031303037340000");

    std::string given = Record();
    given.replace(kSetupSetCountAt, 16,
                  std::string("1F\0\0\0"
                              "2F400\0\0\0\0\0\0",
                              16));
    m_meter.SetSetupRecord(given, 0ms);
    EXPECT_EQ(ToHex(Record()), ToHex(given));

    m_meter.Logger().SetMemory(BuildMemoryImage({set}));
    EXPECT_EQ(ToHex(Record().substr(kSetupSetCountAt, 12)), "310000000031303033410000");
}

TEST_F(SetupCommands, LongReplyFaultAddsOneByteToTheRecord) {
    const std::string record = Record();
    m_meter.GetSetupFaults().longRecordReply = true;
    const std::string reply = Record();
    EXPECT_EQ(reply.size(), kSetupRecordBytes + 1);
    EXPECT_EQ(ToHex(reply.substr(0, kSetupRecordBytes)), ToHex(record));
}

TEST_F(SetupCommands, WrongEchoFaultChangesOnlyTheChosenByteAndTheWriteStillCounts) {
    const std::string frame = FromHex("0277452020203131330032353500CD03");  // 0x71 = 255
    for (const std::size_t at : {std::size_t{0}, std::size_t{13}, std::size_t{15}}) {
        SCOPED_TRACE(at);
        m_meter.GetSetupFaults().writeEchoWrongAt = at;
        const std::string echo = Send(frame.substr(1, 13));
        ASSERT_EQ(echo.size(), frame.size());
        EXPECT_EQ(ChangedBytes(frame, echo), std::vector<std::size_t>{at});
    }
    EXPECT_EQ(static_cast<std::uint8_t>(Record()[50]), 255);
}

TEST_F(SetupCommands, RefusedAddressesAndAllAboveGetNoEchoAndKeepTheirBytes) {
    m_meter.GetSetupFaults().refuseWritesFrom = 0x50;
    const std::string below = FromHex("0277452020202037390020203700A303");  // 0x4F = 7
    EXPECT_EQ(ToHex(Send(below.substr(1, 13))), ToHex(below));
    const std::string before = Record();
    EXPECT_EQ(Send(FromHex("02774520202020383000202037009B03").substr(1, 13)), "");  // 0x50
    EXPECT_EQ(Send(WriteBody(kLastSetupAddress, 9)), "");
    EXPECT_EQ(ToHex(Record()), ToHex(before));
    EXPECT_EQ(before[0x4F - 0x3F], 7);
}

TEST_F(SetupCommands, ClockEchoFaultSpoilsOnlyTheBytesThePcDoesNotCompare) {
    m_meter.GetSetupFaults().clockEchoWrongStart = true;
    const std::string frame = FromHex("02575254433236313230373130333030309603");
    const std::string echo = Send(frame.substr(1, 16));
    EXPECT_EQ(ChangedBytes(frame, echo), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(ToHex(echo.substr(3)), ToHex(frame.substr(3)));
    EXPECT_EQ(ClockBytes(0ms), "261207103000");
}

TEST_F(SetupCommands, ThermocoupleAndAutoPowerOffAreOneSettingLiveAndInTheRecord) {
    MeterState state = m_meter.Model().Scripted();
    state.statusB |= kStatusBTypeJ;
    m_meter.SetScripted(state);
    EXPECT_EQ(Record()[kSetupThermocoupleAt], kSetupTypeJ);
    EXPECT_EQ(Record()[kSetupAutoPowerOffAt], 1);

    ASSERT_FALSE(Send(WriteBody(0x6E, kSetupTypeK)).empty());  // byte 47
    ASSERT_FALSE(Send(WriteBody(0x61, 0)).empty());            // byte 34: always on
    EXPECT_EQ(m_meter.Model().Scripted().statusB & kStatusBTypeMask, 0);
    EXPECT_EQ(m_meter.Model().Scripted().statusA & kStatusAAutoPowerOff, 0);

    // A setting the live state already agrees with leaves an unusual record byte alone.
    std::string record = Record();
    record[kSetupThermocoupleAt] = 0;  // not J, so K
    m_meter.SetSetupRecord(record, 0ms);
    m_meter.SetScripted(m_meter.Model().Scripted());
    EXPECT_EQ(Record()[kSetupThermocoupleAt], 0);
}

}  // namespace
}  // namespace kr820::emulator
