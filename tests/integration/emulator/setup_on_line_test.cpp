// SPDX-License-Identifier: MIT
// The setup commands over the pseudo-terminal, and the log of the frames the meter received,
// which tests of the application compare with what it should have written.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "hex.h"
#include "line_fixture.h"
#include "setup_record.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono_literals;
using testing::FromHex;
using testing::ToHex;

const std::string kReadSetup = FromHex("024FCF03");
const std::string kWriteAddress65Value42 = FromHex("0277452020202036350020343200AD03");
const std::string kSetClock = FromHex("02575254433236313230373130333030309603");  // 261207103000
const std::string kAbort = FromHex("02AAAA03");

class SetupOnLine : public testing::EmulatorOnLine {
protected:
    // Waits until the meter has cut `count` frames, whether it answers them or not.
    std::vector<std::string> FramesOnceThereAre(std::size_t count) {
        for (int waited = 0; m_emulator.ReceivedFrames().size() < count && waited < 200; ++waited)
            std::this_thread::sleep_for(10ms);
        return m_emulator.ReceivedFrames();
    }
};

TEST_F(SetupOnLine, RecordGoesOutExactlyAsKept) {
    std::string record = m_emulator.SetupRecord();
    ASSERT_EQ(record.size(), kSetupRecordBytes);
    // Clock bytes that are no date-time stand still, so the record cannot move between reads.
    record.replace(kSetupClockAt, 6, FromHex("991399250000"));
    record[13] = 0x03;  // an ETX inside the record is just a byte
    ASSERT_TRUE(m_emulator.SetSetupRecord(record));
    EXPECT_EQ(ToHex(Exchange(kReadSetup, kSetupRecordBytes)), ToHex(record));
    EXPECT_EQ(ToHex(m_emulator.SetupRecord()), ToHex(record));

    std::string error;
    EXPECT_FALSE(m_emulator.SetSetupRecord(record.substr(1), &error));
    EXPECT_NE(error.find("85"), std::string::npos) << error;
    EXPECT_EQ(ToHex(m_emulator.SetupRecord()), ToHex(record));
}

TEST_F(SetupOnLine, WritesAndClockAreEchoedAndTheLogHoldsEveryFrameByteForByte) {
    m_emulator.ClearReceived();
    EXPECT_EQ(ToHex(Exchange(FromHex("FF55") + kWriteAddress65Value42, 16)),
              ToHex(kWriteAddress65Value42));
    EXPECT_EQ(ToHex(Exchange(kSetClock, 19)), ToHex(kSetClock));
    EXPECT_EQ(Exchange(kAbort, 0), "");
    const std::vector<std::string> frames = FramesOnceThereAre(3);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(ToHex(frames[0]), ToHex(kWriteAddress65Value42));  // the junk in front is not in it
    EXPECT_EQ(ToHex(frames[1]), ToHex(kSetClock));
    EXPECT_EQ(ToHex(frames[2]), ToHex(kAbort));
    EXPECT_EQ(m_emulator.BytesReceived(), 2u + 16u + 19u + 4u);

    const std::string record = m_emulator.SetupRecord();
    EXPECT_EQ(record[2], 42);
    // To the minute: the seconds run on while the test does.
    EXPECT_EQ(ToHex(record.substr(kSetupClockAt, 5)), "2612071030");

    m_emulator.ClearReceived();
    EXPECT_TRUE(m_emulator.ReceivedFrames().empty());
    EXPECT_TRUE(m_emulator.ReceivedBodies().empty());
}

TEST_F(SetupOnLine, SilentMeterLogsTheSetupFramesItDoesNotAnswer) {
    m_emulator.SetSilent(true);
    const std::string before = m_emulator.SetupRecord();
    ASSERT_TRUE(m_line->Write(kReadSetup + kWriteAddress65Value42));
    EXPECT_EQ(FramesOnceThereAre(2),
              (std::vector<std::string>{kReadSetup, kWriteAddress65Value42}));
    EXPECT_EQ(m_line->ReadAll(200ms), "");
    EXPECT_EQ(m_emulator.SetupRecord()[2], before[2]);  // not acted on either
}

TEST_F(SetupOnLine, FaultsReachTheLine) {
    SetupFaults faults;
    faults.longRecordReply = true;
    faults.refuseWritesFrom = 0x41;
    m_emulator.SetSetupFaults(faults);
    EXPECT_EQ(m_emulator.GetSetupFaults(), faults);
    EXPECT_EQ(Exchange(kReadSetup, kSetupRecordBytes + 1).size(), kSetupRecordBytes + 1);
    ASSERT_TRUE(m_line->Write(kWriteAddress65Value42));
    EXPECT_EQ(m_line->ReadAll(300ms), "");
}

}  // namespace
}  // namespace kr820::emulator
