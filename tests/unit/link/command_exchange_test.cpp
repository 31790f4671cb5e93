// SPDX-License-Identifier: MIT
// Reply waits and verified writes on a scripted meter, with time that jumps.
#include "link/command_exchange.h"

#include <gtest/gtest.h>

#include "core/protocol/command_table.h"
#include "jumping_clock.h"
#include "link/port_attempts.h"
#include "link_log_capture.h"
#include "scripted_meter.h"
#include "scripted_port.h"

namespace kr820::link {
namespace {

using namespace std::chrono_literals;
using testing::JumpingClock;
using testing::LinkLogCapture;
using testing::ScriptedMeter;
using testing::ScriptedPort;

class ExchangeTest : public ::testing::Test {
protected:
    ExchangeTest() {
        port.AddDevice("/dev/ttyKR0", [this](const QByteArray& written) {
            const QByteArray reply = meter.Answer(written);
            return reply.isEmpty() ? reply : alterEcho(reply);
        });
        port.SetDeviceName("/dev/ttyKR0");
        port.Open();
    }

    JumpingClock clock;
    ScriptedMeter meter;
    ScriptedPort port{clock};
    std::function<QByteArray(QByteArray)> alterEcho = [](QByteArray echo) { return echo; };
};

TEST_F(ExchangeTest, AReplyWaitEndsAsSoonAsTheCountIsReached) {
    SendCommand(port, core::kModelQuery);
    EXPECT_EQ(WaitForInput(port, clock, 6, InputTarget::AtLeast, 3000ms), 6);
    EXPECT_EQ(clock.Elapsed(), port.answerDelay);
    port.PurgeInput();
    SendCommand(port, core::kPoll);
    EXPECT_EQ(WaitForInput(port, clock, 23, InputTarget::EqualTo, 3000ms), 23);
    EXPECT_EQ(clock.Elapsed(), 2 * port.answerDelay);
}

TEST_F(ExchangeTest, AnEqualToWaitIsNotSatisfiedByMoreBytesAndRunsToItsLimit) {
    SendCommand(port, core::kModelQuery);
    EXPECT_EQ(WaitForInput(port, clock, 5, InputTarget::EqualTo, 400ms), 6);
    EXPECT_EQ(clock.Elapsed(), 400ms);
}

TEST_F(ExchangeTest, AReplyInPiecesIsWaitedForUntilWholeAndNothingIsTaken) {
    port.Arrive("\x02K8", 2ms);
    port.Arrive("20\x03", 30ms);
    EXPECT_EQ(WaitForInput(port, clock, 6, InputTarget::AtLeast, 500ms), 6);
    EXPECT_EQ(clock.Elapsed(), 30ms);
    EXPECT_EQ(port.Read(6), QByteArray("\x02K820\x03"));
}

TEST_F(ExchangeTest, AnEchoedWriteSucceedsAtTheFirstAttempt) {
    EXPECT_TRUE(VerifiedWrite(port, clock, "CLRM", core::kEraseMemory));
    EXPECT_EQ(meter.Count("CLRM"), 1);
    EXPECT_EQ(meter.Count("\xAA"), 0) << "no abort frame after a good echo";
    EXPECT_EQ(clock.Paused(), 0ms);
}

TEST_F(ExchangeTest, AMeterThatNeverAnswersCostsThreeAttemptsAndThreeAbortFrames) {
    meter.silent = true;
    EXPECT_FALSE(VerifiedWrite(port, clock, "ROPT", core::kResetMeter));
    EXPECT_EQ(meter.Count("ROPT"), 3);
    EXPECT_EQ(meter.Count("\xAA"), 3);
    EXPECT_EQ(clock.Elapsed(), 3 * (3000ms + 200ms)) << "each attempt's limit, then the settle";
}

TEST_F(ExchangeTest, OnlyTheComparedBytesOfTheEchoCount) {
    // The clock's echo is compared from byte 3 to byte 16: its "WR" may differ, its digits not.
    const QByteArray setClock = "WRTC261207103000";
    alterEcho = [](QByteArray echo) { return echo.replace(1, 2, "xx"); };
    EXPECT_TRUE(VerifiedWrite(port, clock, setClock, core::kSetClock));
    EXPECT_EQ(meter.Count(setClock.toStdString()), 1);

    alterEcho = [](QByteArray echo) { return echo.replace(16, 1, "9"); };
    EXPECT_FALSE(VerifiedWrite(port, clock, setClock, core::kSetClock));
    EXPECT_EQ(meter.Count(setClock.toStdString()), 1 + 3);

    // The reset's range ends before the checksum.
    alterEcho = [](QByteArray echo) { return echo.replace(5, 1, "\x80"); };
    EXPECT_TRUE(VerifiedWrite(port, clock, "ROPT", core::kResetMeter));
}

TEST_F(ExchangeTest, AnEchoOfTheWrongLengthIsAFailedAttempt) {
    alterEcho = [](QByteArray echo) { return echo + '\x03'; };
    EXPECT_FALSE(VerifiedWrite(port, clock, "CLRM", core::kEraseMemory));
    EXPECT_EQ(meter.Count("\xAA"), 3);
}

TEST_F(ExchangeTest, APortFailingUnderEachAttemptIsReportedWithItsReason) {
    LinkLogCapture log;
    port.FailReads("Input/output error");
    EXPECT_FALSE(VerifiedWrite(port, clock, "CLRM", core::kEraseMemory));
    EXPECT_EQ(meter.Count("CLRM"), 3);
    EXPECT_EQ(meter.Count("\xAA"), 0) << "an attempt the port broke off sends no abort frame";
    ASSERT_EQ(log.messages.size(), 3);
    EXPECT_TRUE(log.messages.first().contains("Input/output error"))
        << log.messages.first().toStdString();
    EXPECT_TRUE(log.messages.first().contains("/dev/ttyKR0")) << log.messages.first().toStdString();
}

}  // namespace
}  // namespace kr820::link
