// SPDX-License-Identifier: MIT
// kr820-cli on devices that are no meter's: each named device that cannot serve ends the run at
// once with its reason, a device that appears later is taken up within --timeout, devices that
// are not there cost the search nothing, and a device held by another program, by whatever path,
// is in use.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <thread>

#include "cli/meter_session.h"
#include "cli_child.h"
#include "fast_clock.h"
#include "link/com_port.h"
#include "link/serial_lock_file.h"
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

TEST(CliDevices, ALongLinkToADeviceLocksItUnderTheDevicesOwnName) {
    auto meter = StartEmulator();
    QTemporaryDir folder;
    // Named after the whole path, its lock file's name would pass 255 characters.
    const QString link = folder.filePath(QString(240, QLatin1Char('m')));
    std::string error;
    ASSERT_TRUE(meter->MakeSymlink(link.toStdString(), &error)) << error;
    CliChild live;
    ASSERT_TRUE(live.Run({"live", "--count", "1", "--device", link}, 30000));
    EXPECT_EQ(live.ExitCode(), 0) << live.Err().toStdString();
}

TEST(CliDevices, ADevicePathTooLongForALockFileIsNotCalledInUse) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
    auto meter = StartEmulator();
    struct stat pty {};
    ASSERT_EQ(::stat(PathOf(*meter).toLocal8Bit().constData(), &pty), 0);
    QTemporaryDir folder;
    const QString node = folder.filePath(QString(240, QLatin1Char('m')));
    ASSERT_EQ(::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0600, pty.st_rdev), 0);
    CliChild live;
    ASSERT_TRUE(live.Run({"live", "--count", "1", "--device", node}, 30000));
    EXPECT_EQ(live.ExitCode(), 3);
    EXPECT_FALSE(live.Err().contains("in use")) << live.Err().toStdString();
    EXPECT_TRUE(live.Err().contains(qt_error_string(ENAMETOOLONG).toUtf8()))
        << live.Err().toStdString();
}

// Reads the child's output until a line of readings has come.
bool AwaitReading(CliChild& child, int limitMs = 30000) {
    QElapsedTimer waited;
    waited.start();
    QByteArray out;
    while (out.count('\n') < 2 && waited.elapsed() < limitMs &&
           child.process.state() == QProcess::Running) {
        child.process.waitForReadyRead(50);
        out += child.Out();
    }
    return out.count('\n') >= 2;
}

TEST(CliDevices, TwoProgramsCannotTalkToOneDeviceByTwoPaths) {
    auto meter = StartEmulator();
    QTemporaryDir folder;
    const QString link = folder.filePath("usb-KR820-if00-port0");
    std::string error;
    ASSERT_TRUE(meter->MakeSymlink(link.toStdString(), &error)) << error;
    const QString device = PathOf(*meter);
    const QString lockName = "LCK.." + device.mid(5).replace('/', '_');

    for (const auto& [first, second] : {std::pair{link, device}, std::pair{device, link}}) {
        SCOPED_TRACE(("first " + first + ", then " + second).toStdString());
        CliChild talking;
        talking.Start({"live", "--device", first});
        ASSERT_TRUE(AwaitReading(talking)) << talking.Err().toStdString();
        EXPECT_EQ(QFileInfo(link::SerialLockFilePath(first)).fileName(), lockName);
        EXPECT_TRUE(QFile::exists(link::SerialLockFilePath(first)))
            << "a program that looks for the device's lock file finds it";

        CliChild refused;
        ASSERT_TRUE(refused.Run({"live", "--count", "1", "--device", second}, 30000));
        EXPECT_EQ(refused.ExitCode(), 3);
        EXPECT_TRUE(refused.Err().contains((second + " is in use by another program.").toUtf8()))
            << refused.Err().toStdString();
        EXPECT_FALSE(refused.Err().contains("dialout")) << refused.Err().toStdString();

        talking.Signal(SIGTERM);
        ASSERT_TRUE(talking.Finish());
        EXPECT_EQ(talking.ExitCode(), 143);
    }
}

// Where the tests run as root (to whom an exclusive open is no bar), the refused program runs as
// nobody, a user in no group, as another user's program would.
void AsNobody() {
    if (::geteuid() != 0) return;
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(126);
}

TEST(CliDevices, ADeviceAnotherProgramHoldsExclusivelyIsInUseNotAPermissionProblem) {
    QProcess probe;
    probe.setChildProcessModifier(AsNobody);
    probe.start(QStringLiteral(KR820_CLI_PATH), {"--version"});
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0)
        GTEST_SKIP() << "kr820-cli cannot run as nobody from where it was built";
    auto meter = StartEmulator();
    const QByteArray device = PathOf(*meter).toLocal8Bit();
    ASSERT_EQ(::chmod(device.constData(), 0666), 0) << "anyone may use it; it is merely busy";
    // Held as a terminal program holds it: open exclusively, no lock file, no lock on the file.
    const int other = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::ioctl(other, TIOCEXCL), 0);

    CliChild refused;
    refused.InChild(AsNobody);
    ASSERT_TRUE(refused.Run({"live", "--count", "1", "--device", PathOf(*meter)}, 30000));
    ::close(other);
    EXPECT_EQ(refused.ExitCode(), 3);
    EXPECT_TRUE(refused.Err().contains("is in use by another program."))
        << refused.Err().toStdString();
    EXPECT_FALSE(refused.Err().contains("dialout")) << refused.Err().toStdString();
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
