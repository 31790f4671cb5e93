// SPDX-License-Identifier: MIT
// A real-time recording carries its alarms: each raise and clear is a mark on the chart and a
// line in the point list, kept in the store against a crash and saved in the graph file.
#include <QDateTime>

#include "../realtime/real_time_rig.h"
#include "app/alarm_desk.h"
#include "core/alarms/alarm_descriptions.h"
#include "core/chart/chart_model.h"
#include "core/files/graph_file.h"
#include "fake_notifier.h"
#include "fast_clock.h"
#include "graph/data_list_model.h"
#include "store/alarm_marks.h"
#include "store/store_reader.h"

namespace kr820::testing {
namespace {

class RecordingMarksTest : public RealTimeRig {
protected:
    FastClock fast{10};
};

QStringList MarkTexts(const core::ChartModel& chart) {
    QStringList texts;
    for (const core::GraphAnnotation& annotation : chart.Annotations().GraphAnnotations())
        if (!annotation.Text.isEmpty()) texts << annotation.Text;
    return texts;
}

TEST_F(RecordingMarksTest, RaiseAndClearAreMarkedKeptAndSaved) {
    StartTicking(fast);
    ASSERT_FALSE(HasFatalFailure());
    clockMs = (QDateTime::currentMSecsSinceEpoch() / 1000) * 1000;
    QStringList notified;
    window->Alarms().SetNotifier(std::make_unique<FakeNotifier>(notified));
    core::AlarmPreferences preferences;
    preferences.Alarms.Channel(core::AlarmChannel::T1).High = {true, 30.0};
    preferences.Alarms.LimitUnit = core::DisplayUnit::Celsius;
    window->Alarms().SetPreferences(preferences);

    AnswerSetup("100", 0);
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    for (const float t1 : {25.0f, 35.0f, 36.0f, 25.0f, 24.0f}) {
        Live(t1, 20.0f);
        Tick();
    }
    const QStringList expected = {"T1 high alarm raised: 35.0 \u00B0C, limit 30.0 \u00B0C",
                                  "T1 high alarm cleared: 25.0 \u00B0C, limit 30.0 \u00B0C"};
    EXPECT_EQ(MarkTexts(Graph()->Chart()), expected);
    // Each at the time of its reading (the second), at the height of its value.
    const auto& marks = Graph()->Chart().Annotations().GraphAnnotations();
    ASSERT_GE(marks.size(), 2u);
    EXPECT_DOUBLE_EQ(marks[marks.size() - 2].Y, 35.0);
    EXPECT_NEAR(marks[marks.size() - 2].X,
                core::ToTDateTime(QDateTime::fromMSecsSinceEpoch(clockMs - 4000)), 1e-6);

    QStringList listed;
    const graph::DataListModel& list = Graph()->DataList();
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.PointOfRow(row) < 0) listed << list.Line(row).trimmed();
    }
    EXPECT_EQ(listed, (QStringList{"** " + expected[0], "** " + expected[1]}));
    // The point before a mark keeps its own line and place.
    EXPECT_EQ(list.PointOfRow(list.RowOfPoint(1)), 1);

    QString error;
    auto reader = store::StoreReader::Open(UnsavedStore(), &error);
    ASSERT_TRUE(reader) << error.toStdString();
    const auto kept =
        reader->AlarmMarks(std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
    ASSERT_EQ(kept.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const auto event = store::AlarmEventOfMark(kept[i], core::DisplayUnit::Celsius);
        ASSERT_TRUE(event);
        EXPECT_EQ(core::AlarmEventText(*event), expected[int(i)]);
    }

    window->btnStopClick();
    const QString path = InHome("marks.ghf");
    ASSERT_TRUE(core::WriteGraphFile(Graph()->Chart(), path).Written());
    core::ChartModel read;
    ASSERT_EQ(core::ReadGraphFile(path, read).Status, core::GraphReadStatus::Loaded);
    EXPECT_EQ(MarkTexts(read), expected);
}

}  // namespace
}  // namespace kr820::testing
