// SPDX-License-Identifier: MIT
// The command table against the emulator, which encodes and answers from the wire layout on
// its own: every row's frame, its length, and the length of the meter's reply.
#include <gtest/gtest.h>

#include <QByteArray>
#include <string>

#include "command_frame.h"
#include "core/protocol/command_frame.h"
#include "core/protocol/command_table.h"
#include "core/setup/meter_setup.h"
#include "meter_answers.h"
#include "setup_record.h"

namespace kr820::core {
namespace {

// The whole body a row stands for: its fixed start, and for the commands that carry data,
// plausible data of the right shape.
std::string WholeBody(const MeterCommand& command) {
    std::string body(command.body);
    if (command.id == Command::WriteSetupByte)
        body += std::string("   100\0 25\0", 11);  // address "%6.d", 0, value "%3.d", 0
    if (command.id == Command::SetClock) body += "261207103000";  // yymmddhhnnss
    return body;
}

TEST(WireContract, EveryFrameIsEncodedAsTheEmulatorEncodesIt) {
    for (const MeterCommand& command : kMeterCommands) {
        SCOPED_TRACE(std::string(command.name));
        const std::string body = WholeBody(command);
        const QByteArray frame = FrameCommand(QByteArray::fromStdString(body));
        EXPECT_EQ(frame.toStdString(), emulator::FrameCommand(body));
        EXPECT_EQ(frame.size(), command.frameBytes);
        EXPECT_EQ(emulator::CommandBodyLength(static_cast<std::uint8_t>(body.front())),
                  static_cast<std::size_t>(command.frameBytes - 3))
            << "the meter cuts its frames by this length";
    }
}

// What a meter holding its default memory answers; a block's acknowledgement inside a download.
std::string ReplyTo(const std::string& body, const MeterCommand& command) {
    emulator::MeterAnswers meter;
    if (command.reply == ReplyKind::Blocks && command.id != Command::StartDownload)
        meter.Answer(std::string(kStartDownload.body), std::chrono::milliseconds(0));
    return meter.Answer(body, std::chrono::milliseconds(0));
}

TEST(WireContract, EveryReplyHasTheLengthTheTableExpects) {
    for (const MeterCommand& command : kMeterCommands) {
        SCOPED_TRACE(std::string(command.name));
        const std::string body = WholeBody(command);
        const std::string reply = ReplyTo(body, command);
        if (command.reply == ReplyKind::None) {
            EXPECT_TRUE(reply.empty());
            continue;
        }
        EXPECT_EQ(reply.size(), static_cast<std::size_t>(command.replyBytes));
        if (command.reply == ReplyKind::Echo) {
            EXPECT_EQ(reply, emulator::FrameCommand(body));
            EXPECT_LT(command.comparedLast, command.frameBytes);
        }
    }
}

TEST(WireContract, SetupRecordAndAddressesAreTheSameOnBothSides) {
    EXPECT_EQ(emulator::kSetupRecordBytes, static_cast<std::size_t>(kSetupRecordBytes));
    EXPECT_EQ(emulator::kFirstSetupAddress, kFirstSetupAddress);
    EXPECT_EQ(emulator::kLastSetupAddress, kLastSetupAddress);
    EXPECT_EQ(emulator::SetupOffsetOf(kLastSetupAddress),
              static_cast<std::size_t>(kWrittenSetupBytes));
}

}  // namespace
}  // namespace kr820::core
