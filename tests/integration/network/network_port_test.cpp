// SPDX-License-Identifier: MIT
// The link on the port object through a real ser2net in front of the emulated meter, raw and
// RFC 2217: the same search, polls, download and setup write as on the serial line, a second
// client refused, and a server killed in the middle of a download and started again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QTimer>

#include "core/state/app_state.h"
#include "fake_link_view.h"
#include "fast_clock.h"
#include "link/access_refusal.h"
#include "link/com_port.h"
#include "link/command_exchange.h"
#include "link/logger_transfer.h"
#include "link/meter_link.h"
#include "link/port_attempts.h"
#include "link/setup_exchange.h"
#include "running_emulator.h"
#include "running_ser2net.h"

namespace kr820::link {
namespace {

using namespace std::chrono_literals;
using testing::PathOf;
using testing::ProcessEventsUntil;
using testing::RunningSer2net;
using testing::StartEmulator;

int CountOf(const emulator::MeterEmulator& meter, const std::string& body) {
    const auto bodies = meter.ReceivedBodies();
    return static_cast<int>(std::count(bodies.begin(), bodies.end(), body));
}

class QuietTransferView : public TransferView {
public:
    void ShowBusyCursor(bool) override {}
    void ShowTransferProgress(int) override {}
    void SetBytesReceived(int bytes) override {
        received = bytes;
        if (onReceived) onReceived(bytes);
    }
    void RepaintProgress() override {}
    void CloseTransferProgress() override {}
    int received = 0;
    std::function<void(int)> onReceived;
};

// The pseudo-terminal's line speed, as the server set it.
speed_t LineSpeedOf(const QString& device) {
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return 0;
    termios line{};
    const speed_t speed = tcgetattr(fd, &line) == 0 ? cfgetospeed(&line) : 0;
    ::close(fd);
    return speed;
}

// The link with its ports and view as the main window puts them together, the meter behind a
// ser2net of the accepter under test.
class NetworkPortTest : public ::testing::TestWithParam<RunningSer2net::Accepter> {
protected:
    void SetUp() override {
        KR820_SKIP_WITHOUT("ser2net");
        for (TComPort* port : {&comm1, &comm2})
            port->SetOnError([](TComPort&, const EComError&, TErrorAction& action) {
                action = TErrorAction::AbortSilently;
            });
        ASSERT_TRUE(server.Start()) << server.Output().toStdString();
        url = server.Url();
    }
    bool Rfc2217() const { return GetParam() == RunningSer2net::Accepter::Rfc2217; }

    std::unique_ptr<emulator::MeterEmulator> meter = StartEmulator();
    // An RFC 2217 server is given another speed: the program sets the meter's.
    RunningSer2net server{GetParam(), PathOf(*meter),
                          GetParam() == RunningSer2net::Accepter::Rfc2217 ? "9600n81" : "19200n81"};
    QString url;
    core::AppState state;
    TComPort comm1, comm2;
    QTimer timer;
    testing::FakeLinkView view;
    MeterLink link{state, comm1, timer, view, SteadyClock::Shared()};
};

TEST_P(NetworkPortTest, TheSearchFindsTheMeterAndPollsAreAnswered) {
    int frames = 0;
    QObject frameWatch;
    link.Readings().FanOut().Attach(core::ReadingStage::Display, &frameWatch,
                                    {.Reading = [&](const core::LiveReading& reading) {
                                        ++frames;
                                        EXPECT_FLOAT_EQ(reading.Value(core::LiveValue::T1), 25.3f);
                                    }});
    link.SetDevices({url});
    link.SearchMeter();
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(view.portPanel, url);
    EXPECT_EQ(CountOf(*meter, "K"), 1);
    ASSERT_TRUE(ProcessEventsUntil([&] { return frames >= 1; }, 10000));
    link.MainTimerTimer();
    EXPECT_TRUE(ProcessEventsUntil([&] { return frames >= 2; }, 10000));
    EXPECT_EQ(view.connectionPanel, "On Connection");
    if (Rfc2217()) {
        EXPECT_EQ(LineSpeedOf(PathOf(*meter)), B19200) << "set by the program, not the server";
        comm1.SetBaudRate(9600);
        EXPECT_TRUE(ProcessEventsUntil([&] { return LineSpeedOf(PathOf(*meter)) == B9600; }));
    }
}

TEST_P(NetworkPortTest, ADownloadIsTheMeterMemoryByteForByteWith0xFfEscapedBothWays) {
    // Samples of 0xFF: a Telnet escape in every block that holds one.
    std::string memory = meter->Memory();
    for (std::size_t at = 300; at < memory.size(); at += 7) memory[at] = '\xFF';
    ASSERT_TRUE(meter->SetMemory(memory));
    testing::FastClock fast(10);
    MeterLink fastLink(state, comm1, timer, view, fast);
    fastLink.SetDevices({url});
    comm1.Open();
    QuietTransferView progress;
    LoggerTransfer transfer(fastLink, comm2, progress);
    QByteArray image(256, '\0');
    ASSERT_EQ(transfer.TransferMemory(image), core::DownloadCode::Success);
    const QByteArray expected = QByteArray::fromStdString(meter->Memory());
    EXPECT_EQ(image.left(26), expected.left(26));
    EXPECT_EQ(image.mid(256, expected.size() - 256), expected.mid(256));
    EXPECT_GT(image.count('\xFF'), 20);
    // The accepted and refused frames went through escaped too: every block was acknowledged
    // once.
    fastLink.ReturnFromDownloadPort(comm2);
    EXPECT_TRUE(comm1.Active());
    EXPECT_FALSE(comm2.Active());
}

TEST_P(NetworkPortTest, ASetupWriteReachesTheMeter) {
    link.SetDevices({url});
    comm1.Open();
    QByteArray record;
    {
        DetachedRxChar exchange(comm1);
        const std::optional<QByteArray> read = ReadSetupRecord(comm1, SteadyClock::Shared());
        ASSERT_TRUE(read);
        record = *read;
        record[5] = static_cast<char>(record[5] ^ 0x01);
        const SetupSaveOutcome saved = SaveSetup(comm1, SteadyClock::Shared(), record,
                                                 [] { return QDateTime::currentDateTime(); });
        EXPECT_TRUE(saved.Saved);
    }
    EXPECT_EQ(QByteArray::fromStdString(meter->SetupRecord()).mid(1, 50), record.mid(1, 50));
    EXPECT_EQ(CountOf(*meter, "ROPT"), 1);
}

TEST_P(NetworkPortTest, ASecondClientIsRefusedAsADeviceInUse) {
    comm1.SetDeviceName(url);
    comm1.Open();
    int lostWith = 0;
    comm2.SetOnError([&](TComPort&, const EComError& error, TErrorAction& action) {
        lostWith = error.Code();
        action = TErrorAction::AbortSilently;
    });
    comm2.SetDeviceName(url);
    int failure = 0;
    if (TryOpen(comm2, &failure)) {
        // A raw port gives no sign before the server's words and its close arrive: then the
        // connection is lost with them, as a device unplugged.
        ASSERT_TRUE(ProcessEventsUntil([&] { return comm2.DeviceLost(); }));
        failure = lostWith;
    }
    EXPECT_EQ(AccessRefusalOf(failure), AccessRefusal::InUse);
    EXPECT_EQ(OpenFailureText(url, failure), url + " is in use by another program.");
    EXPECT_TRUE(comm1.Active()) << "the first client keeps the meter";
    comm1.SetOnRxChar([](Port&) {});
    EXPECT_TRUE(SendCommand(comm1, core::kPoll));
    EXPECT_TRUE(ProcessEventsUntil([&] { return comm1.InputCount() > 0; }));
}

TEST_P(NetworkPortTest, AServerKilledInADownloadEndsItAndTheLinkComesBackWithTheServer) {
    testing::FastClock fast(10);
    MeterLink fastLink(state, comm1, timer, view, fast);
    fastLink.SetDevices({url});
    fastLink.SearchMeter();
    ASSERT_TRUE(state.Connected);
    meter->SetByteTime(2ms);  // a download long enough to be cut
    QuietTransferView progress;
    progress.onReceived = [&](int bytes) {
        if (bytes > 0) server.Kill();
    };
    LoggerTransfer transfer(fastLink, comm2, progress);
    QByteArray image(256, '\0');
    EXPECT_NE(transfer.TransferMemory(image), core::DownloadCode::Success);
    fastLink.ReturnFromDownloadPort(comm2);
    meter->SetByteTime(0ns);

    ASSERT_TRUE(server.Start());
    // The supervision's ticks bring it back, as a meter plugged in again.
    EXPECT_TRUE(ProcessEventsUntil(
        [&] {
            fastLink.MainTimerTimer();
            ProcessEventsUntil([] { return false; }, 100);
            return state.Connected && comm1.Active();
        },
        30000));
}

TEST(NetworkPortFailures, ARefusedConnectionAndAMalformedNameSayWhy) {
    TComPort port;
    port.SetOnError([](TComPort&, const EComError&, TErrorAction& action) {
        action = TErrorAction::AbortSilently;
    });
    const QString url = QStringLiteral("tcp://127.0.0.1:%1").arg(testing::FreeLoopbackPort());
    port.SetDeviceName(url);
    int failure = 0;
    EXPECT_FALSE(TryOpen(port, &failure));
    EXPECT_EQ(failure, ECONNREFUSED);
    EXPECT_EQ(OpenFailureText(url, failure), url + " cannot be opened: Connection refused.");
    EXPECT_FALSE(port.Active());

    port.SetDeviceName(QStringLiteral("tcp://127.0.0.1"));
    EXPECT_FALSE(TryOpen(port, &failure));
    EXPECT_EQ(failure, EINVAL);
}

INSTANTIATE_TEST_SUITE_P(Accepters, NetworkPortTest,
                         ::testing::Values(RunningSer2net::Accepter::Raw,
                                           RunningSer2net::Accepter::Rfc2217),
                         [](const auto& info) {
                             return info.param == RunningSer2net::Accepter::Raw ? "Raw" : "Rfc2217";
                         });

}  // namespace
}  // namespace kr820::link
