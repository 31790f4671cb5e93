// SPDX-License-Identifier: MIT
// kr820-cli on devices that are no meter's: each named device that cannot serve ends the run at
// once with its reason, a device that appears later is taken up within --timeout, and devices
// that are not there cost the search nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <thread>

#include "cli/meter_session.h"
#include "cli_child.h"
#include "fast_clock.h"
#include "link/com_port.h"
#include "running_emulator.h"

namespace kr820::testing {
namespace {

// The limit a user waits for a named device that cannot be opened.
constexpr int kAtOnceMs = 2000;

TEST(CliDevices, LiveOnANamedNonDeviceEndsAtOnceWithItsReason) {
    QTemporaryDir folder;
    const QString file = folder.filePath("regular");
    QFile(file).open(QIODevice::WriteOnly);
    const QString fifo = folder.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A device another program holds: flock(1) keeps its lock while it sleeps.
    auto held = StartEmulator(/*silent=*/true);
    QProcess flock;
    flock.start("flock", {PathOf(*held), "sleep", "60"});
    ASSERT_TRUE(flock.waitForStarted());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // flock(1) takes its lock

    struct Case {
        QString device;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {folder.filePath("missing"), "does not exist"},  {file, "is not a serial device"},
        {folder.path(), "is not a serial device"},       {fifo, "is not a serial device"},
        {"/dev/null", "is not a serial device"},         {"/dev/zero", "is not a serial device"},
        {PathOf(*held), "is in use by another program"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device.toStdString());
        CliChild live;
        ASSERT_TRUE(live.Run({"live", "--count", "1", "--device", c.device}, kAtOnceMs))
            << "still waiting after " << kAtOnceMs << " ms";
        EXPECT_EQ(live.ExitCode(), 3);
        EXPECT_TRUE(live.Err().contains(c.reason)) << live.Err().toStdString();
    }
    flock.kill();
    flock.waitForFinished();
}

TEST(CliDevices, ANamedDeviceThatAppearsWithinTheTimeoutIsTakenUp) {
    auto meter = StartEmulator();
    const QString link =
        QDir::temp().filePath(QStringLiteral("kr820-cli-appears-%1").arg(::getpid()));
    QFile::remove(link);
    CliChild live;
    live.Start({"live", "--count", "1", "--timeout", "60", "--device", link});
    std::this_thread::sleep_for(std::chrono::seconds(3));
    std::string error;
    ASSERT_TRUE(meter->MakeSymlink(link.toStdString(), &error)) << error;
    ASSERT_TRUE(live.Finish(60000));
    EXPECT_EQ(live.ExitCode(), 0) << live.Err().toStdString();
    EXPECT_EQ(live.Out().count('\n'), 2) << "the header and one reading";
}

TEST(CliDevices, TheTimeoutEndsAWaitForASilentMeter) {
    auto silent = StartEmulator(/*silent=*/true);
    CliChild live;
    ASSERT_TRUE(live.Run({"live", "--timeout", "2", "--device", PathOf(*silent)}, 60000));
    EXPECT_EQ(live.ExitCode(), 3);
    EXPECT_TRUE(live.Err().contains("no meter answered on " + PathOf(*silent).toUtf8()))
        << live.Err().toStdString();
}

TEST(CliDevices, APathTooLongForALockFileIsNotCalledInUse) {
    auto meter = StartEmulator();
    QTemporaryDir folder;
    // The serial library's lock file is named after the whole path: past 255 characters.
    const QString link = folder.filePath(QString(240, QLatin1Char('m')));
    std::string error;
    ASSERT_TRUE(meter->MakeSymlink(link.toStdString(), &error)) << error;
    CliChild live;
    ASSERT_TRUE(live.Run({"live", "--count", "1", "--device", link}, 30000));
    EXPECT_EQ(live.ExitCode(), 3);
    EXPECT_FALSE(live.Err().contains("in use")) << live.Err().toStdString();
    EXPECT_TRUE(live.Err().contains(qt_error_string(ENAMETOOLONG).toUtf8()))
        << live.Err().toStdString();
}

// The sped-up clock, adding up every pause asked of it: what the search waits, in the link's own
// time, whatever the machine's load.
class PauseCountingClock : public FastClock {
public:
    PauseCountingClock() : FastClock(10) {}
    void Pause(std::chrono::milliseconds span) override {
        paused += span;
        FastClock::Pause(span);
    }
    std::chrono::milliseconds paused{0};
};

TEST(CliDevices, MissingDevicesCostTheSearchNothing) {
    // 500 paths that are not there, then the meter: no settling pause for a path that is not
    // there (it cost 0.3 s each), so the search waits only for the meter itself.
    auto meter = StartEmulator();
    QTemporaryDir folder;
    QStringList devices;
    for (int i = 0; i < 500; ++i) devices << folder.filePath(QStringLiteral("gone-%1").arg(i));
    devices << PathOf(*meter);
    link::TComPort comm1;
    PauseCountingClock clock;
    QBuffer err;
    err.open(QIODevice::WriteOnly);
    cli::CliIo io{err, err};
    cli::MeterSession session(comm1, clock, io, std::chrono::milliseconds(100));
    EXPECT_TRUE(session.Find(devices));
    EXPECT_LT(clock.paused, std::chrono::seconds(5)) << "500 settles would be 150 s";
    EXPECT_EQ(session.DeviceName(), PathOf(*meter));
}

}  // namespace
}  // namespace kr820::testing
