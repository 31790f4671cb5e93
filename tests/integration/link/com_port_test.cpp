// SPDX-License-Identifier: MIT
// The serial port object against the meter emulator's pseudo-terminal.
#include "link/com_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <thread>

#include "core/protocol/command_frame.h"
#include "link/access_refusal.h"
#include "link/serial_lock_file.h"
#include "running_emulator.h"

namespace kr820::link {
namespace {

using testing::PathOf;
using testing::ProcessEventsUntil;
using testing::StartEmulator;

void Silently(TComPort&, const EComError&, TErrorAction& action) {
    action = TErrorAction::AbortSilently;
}

// Polls the input count without processing any event, as reply waits do.
int WaitForCountWithoutEvents(TComPort& port, int expected, int limitMs = 2000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (port.InputCount() < expected && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return port.InputCount();
}

class ComPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        meter = StartEmulator();
        port.SetDeviceName(PathOf(*meter));
    }
    std::unique_ptr<emulator::MeterEmulator> meter;
    TComPort port;
};

TEST_F(ComPortTest, OpeningTwiceAndClosingTwiceDoNothing) {
    port.Open();
    port.Open();
    EXPECT_TRUE(port.Active());
    port.Close();
    port.Close();
    EXPECT_FALSE(port.Active());
    port.Open();  // and it opens again after a close
    EXPECT_TRUE(port.Active());
}

TEST_F(ComPortTest, ADeviceOpenInAnotherPortObjectCannotBeOpened) {
    port.Open();
    TComPort second;
    second.SetDeviceName(PathOf(*meter));
    try {
        second.Open();
        FAIL() << "a held device must not open";
    } catch (const EComError& error) {
        // Held by this program, not by another one.
        EXPECT_EQ(AccessRefusalOf(error.Code()), AccessRefusal::OpenHere) << error.Code();
    }
    EXPECT_FALSE(second.Active());

    second.SetOnError(Silently);
    try {
        second.Open();
        FAIL() << "a held device must not open";
    } catch (const EAbort& abandoned) {
        EXPECT_EQ(AccessRefusalOf(abandoned.Code()), AccessRefusal::OpenHere)
            << "the silent exception keeps the cause";
    }

    port.Close();
    EXPECT_NO_THROW(second.Open());
    EXPECT_TRUE(second.Active());
}

// The device's pseudo-terminal reached through a symbolic link, as /dev/serial/by-id/... reaches
// /dev/ttyUSB0.
class LinkedDeviceTest : public ComPortTest {
protected:
    void SetUp() override {
        ComPortTest::SetUp();
        link = folder.filePath("by-id-meter");
        std::string error;
        ASSERT_TRUE(meter->MakeSymlink(link.toStdString(), &error)) << error;
    }
    QTemporaryDir folder;
    QString link;
};

TEST_F(LinkedDeviceTest, TheLockIsTheDevicesWhicheverPathReachedIt) {
    const QString device = PathOf(*meter);  // /dev/pts/N
    ASSERT_TRUE(device.startsWith("/dev/pts/")) << device.toStdString();
    port.SetDeviceName(link);
    port.Open();
    const QString lockPath = SerialLockFilePath(link);
    EXPECT_EQ(QFileInfo(lockPath).fileName(), "LCK..pts_" + device.mid(9));
    EXPECT_EQ(lockPath, SerialLockFilePath(device));
    EXPECT_TRUE(QFile::exists(lockPath)) << "the port's lock is the device's";

    // The same device by its own path is the port already open here, not another program's.
    TComPort second;
    second.SetDeviceName(device);
    try {
        second.Open();
        FAIL() << "one device must not open twice";
    } catch (const EComError& error) {
        EXPECT_EQ(AccessRefusalOf(error.Code()), AccessRefusal::OpenHere) << error.Code();
    }
    port.Close();
    EXPECT_FALSE(QFile::exists(lockPath));
    EXPECT_NO_THROW(second.Open());
}

TEST_F(LinkedDeviceTest, ADeviceHeldOpenWithoutALockFileIsInUseNotDenied) {
    // Another program holds the device exclusively and locks the open file, and makes no lock
    // file: the user's permission is not the cause.
    const QByteArray device = PathOf(*meter).toLocal8Bit();
    const int other = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::ioctl(other, TIOCEXCL), 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);

    EXPECT_EQ(PermissionErrorCode(link), EBUSY);
    port.SetDeviceName(link);
    try {
        port.Open();
        FAIL() << "a held device must not open";
    } catch (const EComError& error) {
        EXPECT_EQ(AccessRefusalOf(error.Code()), AccessRefusal::InUse) << error.Code();
    }
    EXPECT_FALSE(port.Active());

    ::close(other);
    EXPECT_NO_THROW(port.Open());
}

TEST_F(ComPortTest, ALockFileLeftWithThisProcessesIdDoesNotKeepTheDeviceShut) {
    // Left by an earlier run that had the same process id: no port of this program holds it.
    const QString lockPath = SerialLockFilePath(PathOf(*meter));
    ASSERT_FALSE(lockPath.isEmpty());
    QByteArray ownLock;
    {
        QLockFile lock(lockPath);
        ASSERT_TRUE(lock.tryLock(0));
        QFile written(lockPath);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        ownLock = written.readAll();
    }
    QFile left(lockPath);
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.write(ownLock);
    left.close();
    EXPECT_NO_THROW(port.Open());
    EXPECT_TRUE(port.Active());
}

TEST_F(ComPortTest, ADeviceTheUserMayNotOpenIsToldApartFromOneInUse) {
    if (::geteuid() == 0) GTEST_SKIP() << "file modes do not keep root out";
    const QByteArray path = PathOf(*meter).toLocal8Bit();
    ASSERT_EQ(::chmod(path.constData(), 0), 0);
    try {
        port.Open();
        FAIL() << "a device without permission must not open";
    } catch (const EComError& error) {
        EXPECT_EQ(AccessRefusalOf(error.Code()), AccessRefusal::PermissionDenied) << error.Code();
    }
    EXPECT_FALSE(port.Active());
}

TEST_F(ComPortTest, RenamingIsRefusedWhileOpenAndTheOldNameStays) {
    port.Open();
    try {
        port.SetDeviceName("/dev/other");
        FAIL() << "renaming an open port must fail";
    } catch (const EComError& error) {
        EXPECT_EQ(error.Message(), "Can't perform this operation on an open port");
    }
    EXPECT_EQ(port.DeviceName(), PathOf(*meter));
    port.Close();
    port.SetDeviceName("/dev/other");
    EXPECT_EQ(port.DeviceName(), "/dev/other");
}

TEST_F(ComPortTest, OpeningAMissingDeviceReportsTheSystemError) {
    port.SetDeviceName("/dev/kr820-no-such-device");
    try {
        port.Open();
        FAIL() << "opening a missing device must fail";
    } catch (const EComError& error) {
        EXPECT_NE(error.Code(), 0);
        EXPECT_FALSE(error.Message().isEmpty());
    }
    EXPECT_FALSE(port.Active());
}

TEST_F(ComPortTest, InputCountSeesRepliesWhileNoEventIsProcessed) {
    int events = 0;
    port.SetOnRxChar([&](Port&) { ++events; });
    port.Open();
    port.Write(core::FrameCommand("K"));
    EXPECT_EQ(WaitForCountWithoutEvents(port, 6), 6);
    EXPECT_EQ(port.Read(6), QByteArray::fromStdString(emulator::ModelReply()));
    EXPECT_EQ(port.InputCount(), 0);
    EXPECT_EQ(events, 0) << "the receive event must come through the event loop only";
}

TEST_F(ComPortTest, ReceiveEventsStopAndRestartWithTheHandler) {
    int events = 0;
    port.SetOnRxChar([&](Port& sender) {
        ++events;
        sender.Read(sender.InputCount());
    });
    port.Open();
    port.Write(core::FrameCommand("A"));
    EXPECT_TRUE(ProcessEventsUntil([&] { return events > 0; }));

    port.SetOnRxChar(nullptr);
    const int before = events;
    port.Write(core::FrameCommand("A"));
    EXPECT_EQ(WaitForCountWithoutEvents(port, 23), 23);
    ProcessEventsUntil([] { return false; }, 300);
    EXPECT_EQ(events, before);
    EXPECT_EQ(port.InputCount(), 23) << "bytes collected while detached stay counted";
    port.PurgeInput();

    port.SetOnRxChar([&](Port& sender) {
        ++events;
        sender.Read(sender.InputCount());
    });
    port.Write(core::FrameCommand("A"));
    EXPECT_TRUE(ProcessEventsUntil([&] { return events > before; }));
    EXPECT_TRUE(port.Active()) << "restarting the events needs no reopening";
}

TEST_F(ComPortTest, PurgeInputDiscardsWhatIsQueued) {
    port.Open();
    port.Write(core::FrameCommand("A"));
    ASSERT_EQ(WaitForCountWithoutEvents(port, 23), 23);
    port.PurgeInput();
    EXPECT_EQ(port.InputCount(), 0);
    EXPECT_EQ(port.Read(23).size(), 0);
}

TEST_F(ComPortTest, BaudRateChangesApplyWhileOpen) {
    port.Open();
    port.SetBaudRate(9600);
    EXPECT_EQ(port.BaudRate(), 9600);
    EXPECT_TRUE(port.Active());
    port.Write(core::FrameCommand("K"));
    EXPECT_EQ(WaitForCountWithoutEvents(port, 6), 6);
}

TEST(ComPortClosed, ErrorsBecomeSilentThroughTheErrorHandler) {
    TComPort port;
    EXPECT_THROW(port.Write(QByteArray("A")), EComError);
    int reported = 0;
    port.SetOnError([&](TComPort&, const EComError& error, TErrorAction& action) {
        ++reported;
        EXPECT_EQ(error.Message(), "Can't perform this operation on a closed port");
        action = TErrorAction::AbortSilently;
    });
    char buffer[4];
    EXPECT_THROW(port.Read(buffer, 4), EAbort);
    EXPECT_THROW(port.Write(QByteArray("A")), EAbort);
    EXPECT_EQ(reported, 2);
    EXPECT_NO_THROW(port.PurgeInput());
    EXPECT_NO_THROW(port.PurgeOutput());
    EXPECT_EQ(port.InputCount(), 0);
}

}  // namespace
}  // namespace kr820::link
