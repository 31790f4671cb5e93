// SPDX-License-Identifier: MIT
// Reading and saving the meter's setup and erasing its memory on a scripted meter: the exact
// frames on the wire, the first failure ending a save, replies of the wrong length.
#include "link/setup_exchange.h"

#include <gtest/gtest.h>

#include "core/protocol/command_frame.h"
#include "core/protocol/command_table.h"
#include "core/setup/meter_setup.h"
#include "jumping_clock.h"
#include "scripted_port.h"

namespace kr820::link {
namespace {

using namespace std::chrono_literals;
using testing::JumpingClock;
using testing::ScriptedPort;

const QByteArray kAbortFrame = QByteArray::fromHex("02aaaa03");

// Written frame by frame: the meter echoes what it takes, answers "O" with its record, and
// falls silent from `refuseFrom` on (a setup address, or the clock and the reset when beyond
// the addresses).
struct SetupMeter {
    QByteArray record = QByteArray(core::kSetupRecordBytes, '\x11');
    int refuseFromAddress = 0x1000;
    bool refuseClock = false;
    QByteArray extraReplyByte;
    std::function<QByteArray(QByteArray)> alterClockEcho = [](QByteArray e) { return e; };

    QByteArray Answer(const QByteArray& frame) {
        if (frame == core::FrameCommand("O")) return record + extraReplyByte;
        if (frame.mid(1, 2) == "wE") {
            const int address = frame.mid(3, 6).trimmed().toInt();
            return address >= refuseFromAddress ? QByteArray() : frame;
        }
        if (frame.mid(1, 4) == "WRTC") return refuseClock ? QByteArray() : alterClockEcho(frame);
        if (frame == kAbortFrame) return {};
        return frame;  // ROPT, CLRM
    }
};

class SetupExchange : public ::testing::Test {
protected:
    SetupExchange() {
        port.AddDevice("/dev/ttyKR0",
                       [this](const QByteArray& written) { return meter.Answer(written); });
        port.SetDeviceName("/dev/ttyKR0");
        port.Open();
    }
    std::vector<QByteArray> Frames() const {
        std::vector<QByteArray> frames;
        for (const auto& write : port.Writes()) frames.push_back(write.bytes);
        return frames;
    }
    SetupSaveOutcome Save(const QByteArray& bytes) {
        return SaveSetup(port, clock, bytes,
                         [] { return QDateTime(QDate(2026, 12, 7), QTime(21, 53, 8)); });
    }

    JumpingClock clock;
    SetupMeter meter;
    ScriptedPort port{clock};
};

TEST_F(SetupExchange, TheRecordIsReadOnlyWhenExactlyItsLengthComes) {
    const auto record = ReadSetupRecord(port, clock);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, meter.record);
    EXPECT_EQ(Frames(), std::vector<QByteArray>{QByteArray::fromHex("024fcf03")});

    meter.extraReplyByte = "x";
    EXPECT_FALSE(ReadSetupRecord(port, clock)) << "87 bytes are no setup record";
}

TEST_F(SetupExchange, ASilentMeterFailsTheReadAtItsLimit) {
    meter.record.clear();
    const auto started = clock.Elapsed();
    EXPECT_FALSE(ReadSetupRecord(port, clock));
    EXPECT_EQ(clock.Elapsed() - started, core::kReadSetup.replyLimit);
}

TEST_F(SetupExchange, ASaveWritesEveryByteInAddressOrderThenTheClockAndTheReset) {
    QByteArray bytes(core::kWrittenSetupBytes + 1, '\0');
    for (int i = 1; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 5);
    bytes[2] = 0;
    bytes[3] = static_cast<char>(255);
    const SetupSaveOutcome outcome = Save(bytes);
    EXPECT_TRUE(outcome.Saved);

    const std::vector<QByteArray> frames = Frames();
    ASSERT_EQ(frames.size(), 52u);
    for (int address = 0x40; address <= 0x71; ++address) {
        const int value = static_cast<unsigned char>(bytes[address - 0x3F]);
        QByteArray body =
            "wE" + QByteArray::number(address).rightJustified(6, ' ') + '\0' +
            (value == 0 ? QByteArray("   ") : QByteArray::number(value).rightJustified(3, ' ')) +
            '\0';
        EXPECT_EQ(frames[static_cast<size_t>(address - 0x40)], core::FrameCommand(body)) << address;
    }
    EXPECT_EQ(frames[0].mid(1, 13), QByteArray("wE    64\0", 9) + QByteArray("  5\0", 4));
    EXPECT_EQ(frames[1].mid(10, 4), QByteArray("   \0", 4)) << "a value of 0 has no digit";
    EXPECT_EQ(frames[50], core::FrameCommand("WRTC261207215308"));
    EXPECT_EQ(frames[51], QByteArray::fromHex("02524f5054c503"));
}

TEST_F(SetupExchange, TheFirstFailingAddressEndsTheSaveWithNothingAfterIt) {
    meter.refuseFromAddress = 0x55;
    const SetupSaveOutcome outcome = Save(QByteArray(core::kWrittenSetupBytes + 1, '\x07'));
    EXPECT_FALSE(outcome.Saved);
    EXPECT_EQ(outcome.FailedAt, SetupSaveStage::WritingSetup);
    EXPECT_EQ(outcome.FailedAddress, 0x55);

    const std::vector<QByteArray> frames = Frames();
    // 0x40 to 0x54 once each, then three attempts at 0x55 with an abort frame after each.
    ASSERT_EQ(frames.size(), 0x15u + 6u);
    EXPECT_EQ(frames[0x14].mid(3, 6), "    84");
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(frames[0x15 + 2 * attempt].mid(3, 6), "    85");
        EXPECT_EQ(frames[0x15 + 2 * attempt + 1], kAbortFrame);
    }
    const bool clockOrReset = std::any_of(frames.begin(), frames.end(), [](const QByteArray& f) {
        return f.mid(1, 4) == "WRTC" || f.mid(1, 4) == "ROPT";
    });
    EXPECT_FALSE(clockOrReset);
}

TEST_F(SetupExchange, AClockEchoIsComparedFromItsFourthByteOnly) {
    meter.alterClockEcho = [](QByteArray echo) {
        echo[0] = 'x';
        echo[2] = 'y';
        return echo;
    };
    EXPECT_TRUE(Save(QByteArray(core::kWrittenSetupBytes + 1, '\x01')).Saved);

    meter.alterClockEcho = [](QByteArray echo) {
        echo[3] = 'z';
        return echo;
    };
    port.PurgeInput();
    const SetupSaveOutcome outcome = Save(QByteArray(core::kWrittenSetupBytes + 1, '\x01'));
    EXPECT_FALSE(outcome.Saved);
    EXPECT_EQ(outcome.FailedAt, SetupSaveStage::SettingClock);
}

TEST_F(SetupExchange, EraseIsAVerifiedClrm) {
    EXPECT_TRUE(EraseMeterMemory(port, clock));
    EXPECT_EQ(Frames(), std::vector<QByteArray>{QByteArray::fromHex("02434c524dae03")});
}

}  // namespace
}  // namespace kr820::link
