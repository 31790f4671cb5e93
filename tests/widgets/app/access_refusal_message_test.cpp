// SPDX-License-Identifier: MIT
// A device another program holds, met by the real port object: named in the status bar's tip,
// told once in a message however often the supervision comes back to it, and passed over on the
// way to the meter.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStatusBar>

#include "fast_clock.h"
#include "link/com_port.h"
#include "main_window_rig.h"

namespace kr820::app {
namespace {

class AccessRefusalMessageTest : public testing::MainWindowRig {
protected:
    // One supervision tick, and the meter's answer given its time to come in.
    void Tick() {
        window->Link().MainTimerTimer();
        testing::ProcessEventsUntil([this] { return window->State().FrameReceived; }, 50);
    }

    testing::FastClock clock{10};
};

TEST_F(AccessRefusalMessageTest, AHeldDeviceIsToldOnceAndTheMeterBehindItIsFound) {
    ASSERT_TRUE(home.isValid());
    qputenv("KR820_HOME", home.path().toLocal8Bit());
    auto held = testing::StartEmulator(/*silent=*/true);
    link::TComPort otherProgram;
    otherProgram.SetDeviceName(testing::PathOf(*held));
    otherProgram.Open();
    meter = testing::StartEmulator();
    const QStringList devices{testing::PathOf(*held), testing::PathOf(*meter)};
    window = std::make_unique<TfrmMain>(
        prompter, [devices](QStringList& list) { list << devices; }, clock);
    QSignalSpy finished(window.get(), &TfrmMain::startupFinished);
    window->show();
    ASSERT_TRUE(finished.wait(10000));

    ASSERT_TRUE(window->State().Connected) << "the search went on past the held device";
    EXPECT_EQ(window->Comm1().DeviceName(), testing::PathOf(*meter));
    const QString told = testing::PathOf(*held) + " is in use by another program.";
    EXPECT_EQ(prompter.messages, QStringList{told});
    EXPECT_EQ(window->statusBar()->toolTip(), told);

    // The meter falls silent: the supervision goes round both devices several times.
    window->MainTimer().stop();
    meter->SetSilent(true);
    for (int tick = 0; tick < 20; ++tick) Tick();
    EXPECT_FALSE(window->State().Connected);
    EXPECT_EQ(prompter.messages, QStringList{told}) << "once, not every round";
    EXPECT_EQ(window->statusBar()->toolTip(), told);

    meter->SetSilent(false);
    for (int tick = 0; tick < 16 && !window->State().Connected; ++tick) Tick();
    EXPECT_TRUE(window->State().Connected);
    EXPECT_EQ(window->Comm1().DeviceName(), testing::PathOf(*meter));
    EXPECT_EQ(prompter.messages.size(), 1);
}

}  // namespace
}  // namespace kr820::app
