// SPDX-License-Identifier: MIT
// The link on the real port object against the emulated meter: one search, one poll and one
// verified write in real time, one download on a clock ten times faster (its closing silence
// alone takes three seconds). Their limits and faults are the unit tests' part.
#include <gtest/gtest.h>

#include <QTimer>

#include "core/state/app_state.h"
#include "fake_link_view.h"
#include "fast_clock.h"
#include "link/com_port.h"
#include "link/command_exchange.h"
#include "link/logger_transfer.h"
#include "link/meter_link.h"
#include "link/port_attempts.h"
#include "running_emulator.h"

namespace kr820::link {
namespace {

using namespace std::chrono_literals;
using testing::PathOf;
using testing::ProcessEventsUntil;
using testing::StartEmulator;

int CountOf(const emulator::MeterEmulator& meter, const std::string& body) {
    const auto bodies = meter.ReceivedBodies();
    return static_cast<int>(std::count(bodies.begin(), bodies.end(), body));
}

// The link with its state, ports, timer and view, as the main window puts them together; port
// errors are silent, as the program's handlers make them.
class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest() {
        for (TComPort* port : {&comm1, &comm2})
            port->SetOnError([](TComPort&, const EComError&, TErrorAction& action) {
                action = TErrorAction::AbortSilently;
            });
    }

    std::unique_ptr<emulator::MeterEmulator> mute = StartEmulator(/*silent=*/true);
    std::unique_ptr<emulator::MeterEmulator> meter = StartEmulator();
    core::AppState state;
    TComPort comm1, comm2;
    QTimer timer;
    testing::FakeLinkView view;
    MeterLink link{state, comm1, timer, view, SteadyClock::Shared()};
};

TEST_F(EndToEndTest, TheSearchFindsTheMeterBehindASilentDeviceAndPollsIt) {
    link.SetDevices({PathOf(*mute), PathOf(*meter)});
    link.SearchMeter();
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(state.LastConnectedPort, 1);
    EXPECT_EQ(view.portPanel, PathOf(*meter));
    EXPECT_EQ(CountOf(*mute, "K"), 1);
    EXPECT_TRUE(comm1.Active());
    EXPECT_TRUE(ProcessEventsUntil([&] { return state.FrameReceived; }))
        << "the live path is attached and the first poll answered";
}

TEST_F(EndToEndTest, ATickPollsAndTheFrameComesThroughTheEventLoop) {
    int frames = 0;
    QObject sink;
    link.Readings().FanOut().Attach(core::ReadingStage::Display, &sink,
                                    {.Reading = [&](const core::LiveReading& reading) {
                                        ++frames;
                                        EXPECT_FLOAT_EQ(reading.Value(core::LiveValue::T1), 25.3f);
                                    }});
    link.SetDevices({PathOf(*meter)});
    comm1.SetOnRxChar([&](Port& sender) { link.Comm1RxChar(sender); });
    comm1.Open();
    link.MainTimerTimer();
    ASSERT_TRUE(ProcessEventsUntil([&] { return frames == 1; }));
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(view.connectionPanel, "On Connection");
}

TEST_F(EndToEndTest, AVerifiedWriteIsEchoedAndNoReceiveHandlerTakesTheEcho) {
    link.SetDevices({PathOf(*meter)});
    int events = 0;
    comm1.SetOnRxChar([&](Port&) { ++events; });
    comm1.Open();
    {
        DetachedRxChar exchange(comm1);
        EXPECT_TRUE(VerifiedWrite(comm1, SteadyClock::Shared(), "CLRM", core::kEraseMemory));
    }
    EXPECT_EQ(CountOf(*meter, "CLRM"), 1);
    EXPECT_EQ(events, 0);
}

class QuietTransferView : public TransferView {
public:
    void ShowBusyCursor(bool) override {}
    void ShowTransferProgress(int) override {}
    void SetBytesReceived(int bytes) override { received = bytes; }
    void RepaintProgress() override {}
    void CloseTransferProgress() override {}
    int received = 0;
};

TEST_F(EndToEndTest, TheDefaultMemoryIsDownloadedWholeAndThePortHandedBack) {
    testing::FastClock fast(10);
    MeterLink fastLink(state, comm1, timer, view, fast);
    fastLink.SetDevices({PathOf(*meter)});
    comm1.Open();
    QuietTransferView progress;
    LoggerTransfer transfer(fastLink, comm2, progress);
    QByteArray image(256, '\0');
    EXPECT_EQ(transfer.TransferMemory(image), core::DownloadCode::Success);
    const QByteArray memory = QByteArray::fromStdString(meter->Memory());
    EXPECT_EQ(image.left(26), memory.left(26));
    EXPECT_EQ(image.mid(256, memory.size() - 256), memory.mid(256));
    EXPECT_EQ(progress.received, transfer.Counters().expectedBytes);

    fastLink.ReturnFromDownloadPort(comm2);
    EXPECT_TRUE(comm1.Active());
    EXPECT_FALSE(comm2.Active());
}

}  // namespace
}  // namespace kr820::link
