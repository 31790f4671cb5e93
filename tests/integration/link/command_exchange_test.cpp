// SPDX-License-Identifier: MIT
// Reply waits, verified writes and the port discipline, against the emulator.
#include "link/command_exchange.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include "core/protocol/command_frame.h"
#include "fake_link_view.h"
#include "link/com_port.h"
#include "link/meter_link.h"
#include "link/send_command.h"
#include "running_emulator.h"

namespace kr820::link {
namespace {

using namespace std::chrono_literals;
using testing::PathOf;
using testing::ProcessEventsUntil;
using testing::StartEmulator;

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        meter = StartEmulator();
        port.SetDeviceName(PathOf(*meter));
        port.Open();
    }
    int Count(const std::string& body) const {
        const auto bodies = meter->ReceivedBodies();
        return static_cast<int>(std::count(bodies.begin(), bodies.end(), body));
    }
    std::unique_ptr<emulator::MeterEmulator> meter;
    TComPort port;
};

TEST_F(ExchangeTest, WaitForInputEndsWhenTheCountIsReached) {
    SendCommand(port, "K");
    EXPECT_EQ(WaitForInput(port, 6, InputTarget::AtLeast, 3000ms), 6);
    port.PurgeInput();
    SendCommand(port, "A");
    EXPECT_EQ(WaitForInput(port, 23, InputTarget::EqualTo, 3000ms), 23);
}

TEST_F(ExchangeTest, AnEqualToWaitIsNotSatisfiedByMoreBytes) {
    SendCommand(port, "K");
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(WaitForInput(port, 5, InputTarget::EqualTo, 400ms), 6);
    EXPECT_GE(clock.elapsed(), 390);
}

TEST_F(ExchangeTest, NoReceiveHandlerRunsDuringAReplyWait) {
    int events = 0;
    port.SetOnRxChar([&](TComPort&) { ++events; });
    SendCommand(port, "A");
    ASSERT_EQ(WaitForInput(port, 23, InputTarget::AtLeast, 3000ms), 23);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(port.Read(23).size(), 23);
}

TEST_F(ExchangeTest, AnEchoedWriteSucceedsAtTheFirstAttempt) {
    EXPECT_TRUE(VerifiedWrite(port, "CLRM", core::kEraseMemory));
    EXPECT_EQ(Count("CLRM"), 1);
    EXPECT_EQ(Count("\xAA"), 0) << "no abort frame after a good echo";
}

TEST_F(ExchangeTest, AMeterThatNeverAnswersCostsThreeAttemptsAndThreeAbortFrames) {
    meter->SetSilent(true);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(VerifiedWrite(port, "ROPT", core::kResetMeter));
    EXPECT_GE(clock.elapsed(), 3 * 3200 - 100);
    EXPECT_EQ(Count("ROPT"), 3);
    EXPECT_TRUE(ProcessEventsUntil([&] { return Count("\xAA") == 3; }, 1000));
}

TEST(PortDiscipline, TheDownloadPortTakesOverTheDeviceAndHandsItBack) {
    auto meter = StartEmulator();
    core::AppState state;
    TComPort comm1, comm2;
    QTimer timer;
    testing::FakeLinkView view({PathOf(*meter)});
    MeterLink link(state, comm1, timer, view);
    comm1.SetDeviceName(PathOf(*meter));
    comm1.SetBaudRate(38400);
    comm1.Open();
    timer.start(1000);

    link.QuiesceLivePath();
    EXPECT_FALSE(timer.isActive());
    link.SwitchToDownloadPort(comm2);
    EXPECT_FALSE(comm1.Active());
    EXPECT_TRUE(comm2.Active());
    EXPECT_EQ(comm2.DeviceName(), PathOf(*meter));
    EXPECT_EQ(comm2.BaudRate(), 38400);
    EXPECT_FALSE(comm2.HasOnRxChar());

    link.ReturnFromDownloadPort(comm2);
    EXPECT_FALSE(comm2.Active());
    EXPECT_TRUE(comm1.Active());
    EXPECT_TRUE(timer.isActive());
}

TEST(PortDiscipline, TakingUpPollingReattachesTheLivePathAndPolls) {
    auto meter = StartEmulator();
    core::AppState state;
    TComPort comm1;
    QTimer timer;
    testing::FakeLinkView view({PathOf(*meter)});
    MeterLink link(state, comm1, timer, view);
    comm1.SetDeviceName(PathOf(*meter));
    {
        comm1.Open();
        DetachedRxChar exchange(comm1);
        EXPECT_TRUE(VerifiedWrite(comm1, "CLRM", core::kEraseMemory));
    }
    link.TakeUpPolling();
    EXPECT_TRUE(timer.isActive());
    EXPECT_TRUE(comm1.HasOnRxChar());
    EXPECT_TRUE(ProcessEventsUntil([&] { return state.FrameReceived; }));
}

}  // namespace
}  // namespace kr820::link
