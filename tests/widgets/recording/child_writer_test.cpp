// SPDX-License-Identifier: MIT
// A service logs into a store all night; in the morning the desktop opens it and watches it go
// on: the store here is written by kr820-cli live --store, a process of its own.
#include <gtest/gtest.h>

#include <QProcess>
#include <csignal>

#include "graph/recording_list_model.h"
#include "recording_fixture.h"
#include "running_emulator.h"

namespace kr820::testing {
namespace {

using ChildWriterTest = RecordingFixture;

TEST_F(ChildWriterTest, AStoreThatKr820CliLiveWritesIsFollowedAsItGrows) {
    auto meter = StartEmulator();
    QProcess live;
    live.start(QStringLiteral(KR820_CLI_PATH),
               {"live", "-q", "--device", PathOf(*meter), "--store", StorePath()});
    ASSERT_TRUE(live.waitForStarted(10000));

    std::shared_ptr<store::StoredRecording> recording;
    ASSERT_TRUE(ProcessEventsUntil(
        [&] {
            QString error;
            recording = store::StoredRecording::Open(StorePath(), &error);
            return recording && recording->Count() > 0;
        },
        30000))
        << "no reading stored by the child";
    recording->Follow(std::chrono::milliseconds(10));
    ShowInWindow(recording);
    const int before = window->RecordingList()->rowCount();
    ASSERT_GT(before, 0);

    // The child's next readings appear in the open window, the list and the count alike.
    EXPECT_TRUE(ProcessEventsUntil(
        [&] { return window->RecordingList()->rowCount() >= before + 2; }, 30000));
    Settle();
    EXPECT_EQ(Box("txtDataNo"), QString::number(window->RecordingList()->rowCount()));

    ::kill(static_cast<pid_t>(live.processId()), SIGTERM);
    ASSERT_TRUE(live.waitForFinished(10000));
    EXPECT_EQ(live.exitStatus(), QProcess::NormalExit) << live.readAllStandardError().data();
}

}  // namespace
}  // namespace kr820::testing
