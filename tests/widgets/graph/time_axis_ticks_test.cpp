// SPDX-License-Identifier: MIT
// The time axis's ticks: whole seconds, minutes, hours or days, so that each label is exact.
#include <gtest/gtest.h>

#include "chart_view_fixture.h"
#include "graph/whole_time_ticker.h"

namespace kr820::graph {
namespace {

using testing::At;

class TimeAxisTicksTest : public testing::ChartViewTest {
protected:
    // The time labels (first line of each) under the chart showing `from` to `from + seconds`.
    QStringList TimeLabels(core::TDateTime from, double seconds) {
        chart.Axes().SetManualMinX(from);
        chart.Axes().SetManualMaxX(from + seconds * core::kOneSecond);
        chart.Redraw();
        view.Flush();
        const QCPAxis* time = Drawing().BandRect(1)->axis(QCPAxis::atBottom);
        QStringList labels;
        for (const QString& label : time->tickVectorLabels()) labels << label.section(u'\n', 0, 0);
        return labels;
    }
};

TEST_F(TimeAxisTicksTest, LabelsFallOnWholeSecondsMinutesHoursAndDays) {
    const core::TDateTime from = At(2024, 5, 1, 22, 11, 20);
    EXPECT_EQ(TimeLabels(from, 14), (QStringList{"22:11:20", "22:11:25", "22:11:30"}));
    EXPECT_EQ(TimeLabels(from, 7), (QStringList{"22:11:20", "22:11:22", "22:11:24", "22:11:26"}));
    EXPECT_EQ(TimeLabels(from, 410), (QStringList{"22:12:00", "22:14:00", "22:16:00", "22:18:00"}));
    EXPECT_EQ(TimeLabels(At(2024, 5, 1, 8, 0, 5), 48 * 3600.0),
              (QStringList{"12:00:00", "00:00:00", "12:00:00", "00:00:00"}));
    const QStringList days = TimeLabels(At(2024, 5, 1, 8, 0, 0), 9 * 86400.0);
    EXPECT_FALSE(days.isEmpty());
    EXPECT_EQ(days, QStringList(days.size(), QStringLiteral("00:00:00")));
}

TEST(WholeTimeStepTest, TheSmallestWholeStepThatGivesNoMoreThanTheTickCount) {
    EXPECT_EQ(WholeTimeStepSeconds(0.3, 4), 1.0);
    EXPECT_EQ(WholeTimeStepSeconds(14, 4), 5.0);
    EXPECT_EQ(WholeTimeStepSeconds(8, 4), 2.0);
    // A span that comes out a hair long in floating point still takes the exact step.
    EXPECT_EQ(WholeTimeStepSeconds(8 + 1e-9, 4), 2.0);
    EXPECT_EQ(WholeTimeStepSeconds(151, 4), 60.0);
    EXPECT_EQ(WholeTimeStepSeconds(5 * 3600, 4), 2 * 3600.0);
    EXPECT_EQ(WholeTimeStepSeconds(13 * 3600, 4), 6 * 3600.0);
    EXPECT_EQ(WholeTimeStepSeconds(4 * 86400, 4), 86400.0);
    // Beyond fourteen-day steps, months and years are the date-time ticker's.
    EXPECT_EQ(WholeTimeStepSeconds(80 * 86400, 4), 0.0);
}

}  // namespace
}  // namespace kr820::graph
