// SPDX-License-Identifier: MIT
// Quitting with unsaved data in more than one window: every question comes before anything is
// given up, and a Cancel at any of them keeps everything.
#include <gtest/gtest.h>

#include <QFile>
#include <QMdiArea>

#include "graph/data_list_model.h"
#include "real_time_rig.h"
#include "unit/data/memory_image_builder.h"

namespace kr820::meter {
namespace {

using Answer = ui::Prompter::Answer;

class QuitQuestionsTest : public testing::RealTimeRig {
protected:
    void SetUp() override {
        StartTicking();
        if (HasFatalFailure()) return;
        AnswerSetup("10", 0);
        window->btnRunClick();
        for (int tick = 0; tick < 3; ++tick) Tick();
        core::testing::TestSet set;
        for (int i = 0; i < 5; ++i) set.pairs.push_back({200 + i, 300 + i});
        window->ShowDataLoggerWindow()->ShowMemoryImage(
            core::testing::ImageBuilder().Add(set).Build());
        window->DataLogger().MarkUnsaved();
    }
};

TEST_F(QuitQuestionsTest, NoForTheRecordingThenCancelForTheDownloadKeepsBoth) {
    ASSERT_EQ(window->State().RealTimePointCount, 3);
    ASSERT_FALSE(UnsavedStore().isEmpty());
    prompter.confirmAnswers = {Answer::No, Answer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompter.questions,
              (QStringList{"Save Real-Time Graph ?", "Save DataLogger Data ?"}));
    ASSERT_NE(Graph(), nullptr) << "the recording is still there";
    EXPECT_TRUE(window->State().RealTimeRecording);
    EXPECT_TRUE(window->State().RealTimeUnsaved);
    EXPECT_EQ(window->State().RealTimePointCount, 3);
    EXPECT_EQ(Graph()->DataList().rowCount(), 3);
    EXPECT_FALSE(UnsavedStore().isEmpty());
    ASSERT_NE(window->DataLoggerWindow(), nullptr);
    EXPECT_TRUE(window->DataLogger().Unsaved());

    // Asked again, both given up: now everything goes.
    prompter.questions.clear();
    prompter.confirmAnswers = {Answer::No, Answer::No};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompter.questions.size(), 2);
    EXPECT_TRUE(window->Workspace()->subWindowList().isEmpty());
    EXPECT_TRUE(UnsavedStores().isEmpty());
}

}  // namespace
}  // namespace kr820::meter
