// SPDX-License-Identifier: MIT
// The list of a recording whose system clock was set back: times repeat after the step, so its
// lines are placed by the readings' order, and a line says the clock was set back.
#include <gtest/gtest.h>

#include "core/graph/graph_texts.h"
#include "graph/recording_list_model.h"
#include "graph/recording_plot.h"
#include "recording_fixture.h"

namespace kr820::testing {
namespace {

struct Step {
    qint64 Before;  // readings before the step
    qint64 BackMs;  // how far the clock went back
};

class ClockStepListTest : public RecordingFixture, public ::testing::WithParamInterface<Step> {
protected:
    // Reading `j` after the step, one a second on from the last before it.
    static qint64 AfterMs(qint64 j) {
        return kRecordingStartMs + (GetParam().Before + j) * 1000 - GetParam().BackMs;
    }
};

TEST_P(ClockStepListTest, TheStepAndALaterGapSitBetweenTheirReadings) {
    const qint64 before = GetParam().Before;
    auto writer = MakeStore(before);
    ASSERT_TRUE(writer);
    // 30 readings after the step, the link lost for ten, then 60 more.
    const auto append = [&](qint64 j) {
        store::StoredReading r = WaveReading(before + j);
        r.TimeMs = AfterMs(j);
        return writer->Append(r);
    };
    for (qint64 j = 0; j < 30; ++j) ASSERT_TRUE(append(j));
    ASSERT_TRUE(writer->MarkGap({AfterMs(29) + 500, AfterMs(40), store::GapCause::LinkLost}));
    for (qint64 j = 40; j < 100; ++j) ASSERT_TRUE(append(j));
    ASSERT_TRUE(writer->Finish(AfterMs(99)));

    const QLocale locale = QLocale::c();
    graph::RecordingListModel list(OpenRecording(), locale);
    const qint64 readings = before + 90;
    ASSERT_EQ(list.rowCount(), readings + 2);
    const auto time = [](qint64 ms) { return graph::ChartTimeOfMs(ms); };
    const qint64 lastBeforeMs = WaveReading(before - 1).TimeMs;

    const int stepRow = int(before);
    EXPECT_EQ(list.Line(stepRow).toStdString(),
              core::ClockSetBackLine(GetParam().BackMs, time(lastBeforeMs), locale).toStdString());
    EXPECT_EQ(list.ReadingOfRow(stepRow), -1);
    EXPECT_EQ(list.ReadingOfRow(stepRow - 1), before - 1);
    EXPECT_EQ(list.ReadingOfRow(stepRow + 1), before);
    EXPECT_TRUE(list.Line(stepRow + 1).contains(core::LongTimeText(time(AfterMs(0)), locale)));

    const int gapRow = stepRow + 31;
    EXPECT_EQ(list.Line(gapRow).toStdString(),
              core::NoReadingLine(time(AfterMs(29)), time(AfterMs(40)), locale).toStdString());
    EXPECT_EQ(list.ReadingOfRow(gapRow - 1), before + 29);
    EXPECT_EQ(list.ReadingOfRow(gapRow + 1), before + 30);
    EXPECT_EQ(list.RowOfReading(before + 30), gapRow + 1);
    EXPECT_EQ(list.RowOfReading(readings - 1), readings + 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, ClockStepListTest,
                         ::testing::Values(Step{100, 60'000},      // times repeat within one block
                                           Step{300, 60'000},      // the step in the second block
                                           Step{600, 3'600'000}),  // an hour back, no time repeated
                         [](const ::testing::TestParamInfo<Step>& info) {
                             return "After" + std::to_string(info.param.Before) + "Back" +
                                    std::to_string(info.param.BackMs / 1000) + "s";
                         });

TEST(ClockSetBackLineTest, SaysTheStepInHoursMinutesAndSecondsAsFits) {
    const QLocale locale = QLocale::c();
    const core::TDateTime at = graph::ChartTimeOfMs(kRecordingStartMs);
    const QString when = core::LongTimeText(at, locale);
    const auto line = [&](qint64 ms) { return core::ClockSetBackLine(ms, at, locale); };
    EXPECT_EQ(line(3'600'000), "clock set back by 1 h 0 min at " + when);
    EXPECT_EQ(line(3'725'000), "clock set back by 1 h 2 min 5 s at " + when);
    EXPECT_EQ(line(60'000), "clock set back by 1 min 0 s at " + when);
    EXPECT_EQ(line(4'400), "clock set back by 4 s at " + when);
    EXPECT_EQ(line(300), "clock set back by less than 1 s at " + when);
}

}  // namespace
}  // namespace kr820::testing
