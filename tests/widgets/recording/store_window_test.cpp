// SPDX-License-Identifier: MIT
// A graph window over a recording in its store: drawn through the draw query whatever its
// length, its list and statistics read from the store, and a store another writer goes on
// filling followed as it grows.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <limits>

#include "core/alarms/alarm_descriptions.h"
#include "core/chart/chart_model.h"
#include "core/graph/graph_statistics.h"
#include "core/graph/graph_texts.h"
#include "graph/recording_list_model.h"
#include "graph/recording_plot.h"
#include "recording_fixture.h"
#include "store/alarm_marks.h"

namespace kr820::testing {
namespace {

constexpr qint64 kLong = 120'000;

class StoreWindowTest : public RecordingFixture {};

TEST_F(StoreWindowTest, ALongRecordingIsDrawnInAsManyPointsAsThePlotIsWide) {
    ASSERT_TRUE(MakeStore(kLong));
    ShowInWindow(OpenRecording());
    const core::ChartData& data = window->Chart().Data();
    ASSERT_GT(PlotWidth(), 100);
    // A minimum and a maximum a pixel, and a break where a pixel has no readings.
    EXPECT_GT(data.Points(), PlotWidth());
    EXPECT_LE(data.Points(), 3 * PlotWidth());
    // The columns reach the wave's extremes: nothing of it is lost by drawing fewer points.
    const auto t1 = data.Y(0);
    float top = -1e9f;
    for (float y : t1) top = y < 3000 ? std::max(top, y) : top;
    EXPECT_NEAR(top, 30.0f, 0.01f);

    // Zoomed to a few pixels' worth, the readings themselves, each at its own time.
    const QRect plot = window->View().Drawing().PlottingRect();
    const QPoint middle = plot.center();
    for (int zoom = 0; zoom < 2; ++zoom) {
        ASSERT_TRUE(
            window->View().Interaction().ZoomToRect(QRect(middle.x(), plot.top() + 2, 20, 2)));
        Settle();
    }
    ASSERT_GT(data.Points(), 2);
    EXPECT_LT(data.Points(), 2 * PlotWidth() + 2);
    for (int i = 0; i < data.Points(); ++i) {
        const qint64 offset = graph::MsOfChartTime(data.XDataII(0, i)) - kRecordingStartMs;
        ASSERT_EQ(offset % 1000, 0) << "point " << i << " lies between readings";
        const store::StoredReading r = WaveReading(offset / 1000);
        EXPECT_EQ(data.YData(1, i), graph::ChartValue(r.T2, r.T2Valid)) << i;
    }

    // Undone, the whole recording again.
    window->UndoZoomClick();
    Settle();
    EXPECT_LE(data.Points(), 3 * PlotWidth());
    EXPECT_GT(data.Points(), PlotWidth());
}

TEST_F(StoreWindowTest, TheListAndTheStatisticsReadTheStore) {
    ASSERT_TRUE(MakeStore(kLong));
    ShowInWindow(OpenRecording());
    graph::RecordingListModel* list = window->RecordingList();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->rowCount(), kLong);
    const store::StoredReading r = WaveReading(70'000);
    EXPECT_EQ(list->Line(70'000), core::DataListLine(70'000, graph::ChartTimeOfMs(r.TimeMs), r.T1,
                                                     r.T2, window->Locale()));
    // Reading 5 has no T1.
    EXPECT_TRUE(list->Line(5).mid(0, list->Line(5).size() - 9).endsWith("       OL"))
        << list->Line(5).toStdString();

    // The boxes against a pass over every reading.
    float max1 = -1e9f, min2 = 1e9f;
    qint64 max1At = -1, min2At = -1;
    double sum1 = 0;
    qint64 count1 = 0;
    for (qint64 i = 0; i < kLong; ++i) {
        const store::StoredReading w = WaveReading(i);
        if (w.T1Valid && w.T1 > max1) max1 = w.T1, max1At = i;
        if (w.T2Valid && w.T2 < min2) min2 = w.T2, min2At = i;
        if (w.T1Valid) sum1 += w.T1, ++count1;
    }
    EXPECT_EQ(Box("txtDataNo"), "120000");
    EXPECT_EQ(Box("txtT1Max"),
              core::ExtremeText(max1, graph::ChartTimeOfMs(WaveReading(max1At).TimeMs),
                                window->Locale()));
    EXPECT_EQ(Box("txtT2Min"),
              core::ExtremeText(min2, graph::ChartTimeOfMs(WaveReading(min2At).TimeMs),
                                window->Locale()));
    core::ChannelStatistics t1;
    t1.Sum = float(sum1);
    t1.Count = int(count1);
    EXPECT_EQ(Box("txtT1Avg"), core::AverageText(t1, window->Locale()));
    EXPECT_EQ(window->findChild<QComboBox*>("txtSamplingRate")->currentText(), "00:01");

    // A click on a line puts the cursor on its reading.
    window->PESGraph1DataHotSpot(false, 0, 0);
    EXPECT_TRUE(window->Chart().Annotations().VertLineAnnotationAt(0).Text.contains("T1:"));
}

TEST_F(StoreWindowTest, AStoreAnotherWriterFillsIsFollowed) {
    auto writer = MakeStore(1000);
    ASSERT_TRUE(writer);
    auto recording = OpenRecording();
    recording->Follow(std::chrono::milliseconds(5));
    ShowInWindow(recording);
    ASSERT_EQ(window->RecordingList()->rowCount(), 1000);
    const core::TDateTime endBefore = window->Chart().Axes().ManualMaxX();

    for (qint64 i = 1000; i < 1300; ++i) ASSERT_TRUE(writer->Append(WaveReading(i)));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window->RecordingList()->rowCount() == 1300; }, 20000));
    Settle();
    EXPECT_EQ(Box("txtDataNo"), "1300");
    EXPECT_GT(window->Chart().Axes().ManualMaxX(), endBefore);
    // The newest reading is drawn: the last point of the chart is at its time.
    const core::ChartData& data = window->Chart().Data();
    ASSERT_GT(data.Points(), 0);
    EXPECT_EQ(graph::MsOfChartTime(data.XDataII(0, data.Points() - 1)), WaveReading(1299).TimeMs);

    // Stopped by its writer, the store is still followed: a writer may take it up again, and
    // its readings are shown as they come.
    ASSERT_TRUE(writer->Finish(WaveReading(1299).TimeMs));
    writer.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return recording->Header().StoppedMs.has_value(); }, 20000));
    EXPECT_TRUE(recording->Following());
    QString error;
    writer = store::StoreWriter::Resume(recording->Path(), &error);
    ASSERT_TRUE(writer) << error.toStdString();
    for (qint64 i = 1300; i < 1338; ++i) ASSERT_TRUE(writer->Append(WaveReading(i)));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window->RecordingList()->rowCount() == 1338; }, 20000));
    Settle();
    EXPECT_EQ(Box("txtDataNo"), "1338");
    EXPECT_FALSE(recording->Header().StoppedMs) << "the first run's stop is still shown";
}

// The alarms kept in a store are marks on its chart when it is opened.
TEST_F(StoreWindowTest, TheStoresAlarmMarksAreOnTheChart) {
    auto writer = MakeStore(100);
    ASSERT_TRUE(writer);
    core::AlarmEvent raised;
    raised.Alarm = {core::AlarmKind::High, core::AlarmChannel::T2};
    raised.Time = QDateTime::fromMSecsSinceEpoch(WaveReading(40).TimeMs);
    raised.Value = 35.0;
    raised.Limit = 30.0;
    ASSERT_TRUE(writer->AddAlarmMark(*store::MarkOfAlarmEvent(raised)));
    ASSERT_TRUE(writer->Finish(WaveReading(99).TimeMs));
    ShowInWindow(OpenRecording());

    QStringList texts;
    const core::ChartAnnotations& annotations = window->Chart().Annotations();
    for (int i = 0; i < annotations.GraphAnnotationCount(); ++i)
        if (const core::GraphAnnotation a = annotations.GraphAnnotationAt(i); !a.Text.isEmpty())
            texts << a.Text;
    EXPECT_EQ(texts, QStringList{core::AlarmEventText(raised)});
}

}  // namespace
}  // namespace kr820::testing
