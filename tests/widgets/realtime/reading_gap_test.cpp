// SPDX-License-Identifier: MIT
// A recording across a pulled and replugged cable: the line breaks where readings are missing,
// the point list says from when to when, and a saved file holds only the readings.
#include <gtest/gtest.h>

#include <QFile>
#include <QListView>

#include "core/chart/drawn_runs.h"
#include "core/graph/graph_texts.h"
#include "fast_clock.h"
#include "graph/data_list_model.h"
#include "real_time_rig.h"
#include "ui/frm_scope.h"

namespace kr820::meter {
namespace {

class ReadingGapTest : public testing::RealTimeRig {
protected:
    void SetUp() override { StartTicking(clock); }
    // One tick a second later on the test's wall clock, the meter's answer to its poll let in
    // while the cable is in.
    void MeterTick() {
        clockMs += 1000;
        window->Link().MainTimerTimer();
        core::AppState& state = window->State();
        testing::ProcessEventsUntil([&] { return state.FrameReceived; },
                                    meter->IsPlugged() ? 2000 : 50);
    }
    int Points() const { return window->State().RealTimePointCount; }

    testing::FastClock clock{10};
};

TEST_F(ReadingGapTest, AnUnpluggedMeterBreaksTheLineAndTheListSaysSo) {
    AnswerSetup("100", 0);  // 00:01
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    while (Points() < 4) MeterTick();

    meter->Unplug();
    MeterTick();  // takes the reading that came in before
    const int before = Points();
    for (int tick = 0; tick < 5; ++tick) MeterTick();
    ASSERT_FALSE(window->State().Connected);
    EXPECT_EQ(Points(), before) << "no reading, no point";
    std::string error;
    ASSERT_TRUE(meter->Plug(&error)) << error;
    for (int tick = 0; tick < 20 && Points() < before + 3; ++tick) MeterTick();
    ASSERT_EQ(Points(), before + 3);
    window->btnStopClick();

    // The line: one run before the cable was pulled, one after.
    const core::ChartModel& chart = Graph()->Chart();
    const std::vector<core::PointRun> runs =
        core::DrawnRuns(Data().X(0), Data().Y(0), chart.Settings().NullDataValueY,
                        chart.Settings().LineGapThreshold);
    EXPECT_EQ(runs, (std::vector<core::PointRun>{{0, before}, {before, 3}}));

    // The list: a line between the last reading before and the first after.
    const graph::DataListModel& list = Graph()->DataList();
    ASSERT_EQ(list.rowCount(), Points() + 1);
    const core::TDateTime lastBefore = Data().XDataII(0, before - 1);
    const core::TDateTime firstAfter = Data().XDataII(0, before);
    EXPECT_GE((firstAfter - lastBefore) * core::kSecondsPerDay, 6.5);
    const QLocale& locale = Graph()->Locale();
    EXPECT_EQ(list.Line(before), "no reading from " + core::LongTimeText(lastBefore, locale) +
                                     " to " + core::LongTimeText(firstAfter, locale));
    EXPECT_TRUE(list.Line(before + 1).startsWith(QStringLiteral("%1").arg(before + 1, 5)));
    // The line after the gap's is that of the first reading after it, on the chart as well.
    auto* view = Graph()->findChild<QListView*>("dataListView");
    view->setCurrentIndex(list.index(before + 1));
    EXPECT_EQ(chart.Annotations().VertLineAnnotationAt(0).X, firstAfter);

    // A saved text file: the readings, one line each, nothing for the gap.
    prompter.saveFileName = InHome("recording.txt");
    prompter.onDialog = [](QDialog& dialog) {
        return qobject_cast<ui::TfrmScope*>(&dialog) ? int(QDialog::Accepted)
                                                     : int(QDialog::Rejected);
    };
    ASSERT_TRUE(window->Files().SaveSingleSet(*Graph()));
    QFile saved(InHome("recording.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');
    EXPECT_EQ(lines.size(), Points() + 1);  // the last line ends with its break
    for (const QByteArray& line : lines) EXPECT_FALSE(line.contains("OL")) << line.constData();
}

TEST_F(ReadingGapTest, ReadingsThatComeOnlyLateBreakNothing) {
    AnswerSetup("100", 0);
    window->btnRunClick();
    // Frames missing for two ticks at a time: slow, but the link never counts as lost.
    for (int tick = 0; tick < 12; ++tick) Tick(tick % 3 == 0);
    ASSERT_GE(Points(), 3);
    EXPECT_EQ(Graph()->DataList().rowCount(), Points());
    const core::ChartModel& chart = Graph()->Chart();
    EXPECT_EQ(core::DrawnRuns(Data().X(0), Data().Y(0), chart.Settings().NullDataValueY,
                              chart.Settings().LineGapThreshold)
                  .size(),
              1u);
}

}  // namespace
}  // namespace kr820::meter
