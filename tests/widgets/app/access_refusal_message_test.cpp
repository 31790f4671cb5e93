// SPDX-License-Identifier: MIT
// A device another program holds, met by the real port object: named in the status bar's tip and
// logged, never asked about in a box while the search or the supervision tries it, and passed over
// on the way to the meter; the device the user chooses says why in the status bar. A lock of this
// program's own is never another program's.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStatusBar>
#include <thread>

#include "fast_clock.h"
#include "link/com_port.h"
#include "link/serial_lock_file.h"
#include "main_window_rig.h"
#include "meter/meter_refusal.h"

namespace kr820::app {
namespace {

class AccessRefusalMessageTest : public testing::MainWindowRig {
protected:
    // One supervision tick, and the meter's answer given its time to come in.
    void Tick() {
        window->Link().MainTimerTimer();
        testing::ProcessEventsUntil([this] { return window->State().FrameReceived; }, 50);
    }

    // The window on `devices`, its start-up finished.
    void StartOn(const QStringList& devices) {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        window = std::make_unique<TfrmMain>(
            prompter, [devices](QStringList& list) { list << devices; }, clock);
        QSignalSpy finished(window.get(), &TfrmMain::startupFinished);
        window->show();
        ASSERT_TRUE(finished.wait(10000));
    }

    testing::FastClock clock{10};
};

// Another program holding `device`: flock(1) keeps its lock on it while it sleeps.
class OtherProgramHolding {
public:
    explicit OtherProgramHolding(const QString& device) {
        m_process.start("flock", {device, "sleep", "120"});
        EXPECT_TRUE(m_process.waitForStarted());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // it takes its lock
    }
    ~OtherProgramHolding() {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};

TEST_F(AccessRefusalMessageTest, AHeldDeviceIsNotAskedAboutAndTheMeterBehindItIsFound) {
    auto held = testing::StartEmulator(/*silent=*/true);
    OtherProgramHolding otherProgram(testing::PathOf(*held));
    meter = testing::StartEmulator();
    StartOn({testing::PathOf(*held), testing::PathOf(*meter)});

    ASSERT_TRUE(window->State().Connected) << "the search went on past the held device";
    EXPECT_EQ(window->Comm1().DeviceName(), testing::PathOf(*meter));
    const QString told = testing::PathOf(*held) + " is in use by another program.";
    EXPECT_TRUE(prompter.messages.isEmpty()) << "no box about a device nobody chose";
    EXPECT_EQ(window->statusBar()->toolTip(), told);

    // The meter falls silent: the supervision goes round both devices several times.
    window->MainTimer().stop();
    meter->SetSilent(true);
    for (int tick = 0; tick < 20; ++tick) Tick();
    EXPECT_FALSE(window->State().Connected);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(window->statusBar()->toolTip(), told);

    meter->SetSilent(false);
    for (int tick = 0; tick < 16 && !window->State().Connected; ++tick) Tick();
    EXPECT_TRUE(window->State().Connected);
    EXPECT_EQ(window->Comm1().DeviceName(), testing::PathOf(*meter));
    EXPECT_TRUE(prompter.messages.isEmpty());

    // The user chooses the held device: why it does not open is said in the status bar.
    QLineEdit* typed = window->ComboBoxDeviceName()->lineEdit();
    typed->setText(testing::PathOf(*held));
    emit typed->returnPressed();
    EXPECT_EQ(window->statusBar()->currentMessage(), told);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(AccessRefusalMessageTest, ALockLeftWithThisProgramsProcessIdIsNoOtherProgram) {
    // A run that ended without removing its lock file, and this run got the same process id (as
    // in a container, where the program is always the same low number).
    meter = testing::StartEmulator();
    const QString lockPath = link::SerialLockFilePath(testing::PathOf(*meter));
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

    StartOn({testing::PathOf(*meter)});
    EXPECT_TRUE(window->State().Connected);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('\n').toStdString();
}

TEST_F(AccessRefusalMessageTest, WithTheOnlyDeviceHeldTheMeterCommandsSayThereIsNoConnection) {
    meter = testing::StartEmulator();
    OtherProgramHolding otherProgram(testing::PathOf(*meter));
    StartOn({testing::PathOf(*meter)});
    ASSERT_FALSE(window->State().Connected);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(window->statusBar()->toolTip(),
              testing::PathOf(*meter) + " is in use by another program.");
    window->btnSetupClick();
    window->btnDataLoggerClick();
    EXPECT_EQ(prompter.messages,
              (QStringList{meter::kNoConnectionMessage, meter::kNoConnectionMessage}));
}

}  // namespace
}  // namespace kr820::app
