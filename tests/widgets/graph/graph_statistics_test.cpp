// SPDX-License-Identifier: MIT
// Statistics as the window's boxes show them, computed from the chart's points.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "graph/frm_graph.h"
#include "graph_test_support.h"

namespace kr820::graph {
namespace {

using testing::At;
using testing::FillChart;

class StatisticsTest : public ::testing::Test {
protected:
    StatisticsTest() : window(TfrmGraph::kDataLoggerCaption, harness.Context()) {}

    QString Box(const char* name) const {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }
    QString SamplingRate() const {
        return window.findChild<QComboBox*>("txtSamplingRate")->currentText();
    }
    void Show(const std::vector<float>& t1, const std::vector<float>& t2, int stepSeconds) {
        FillChart(window.Chart(), t1, t2, stepSeconds);
        window.UpdateGraphStatistics();
    }

    testing::GraphHarness harness;
    TfrmGraph window;
};

TEST_F(StatisticsTest, SamplingRateIsTheMeanSpacingInMinutesAndSeconds) {
    Show({20.0f}, {20.0f}, 2);
    EXPECT_EQ(SamplingRate(), "00:00");
    EXPECT_EQ(Box("txtDataNo"), "1");

    Show(std::vector<float>(100, 20.0f), std::vector<float>(100, 20.0f), 2);
    EXPECT_EQ(SamplingRate(), "00:02");
    EXPECT_EQ(Box("txtDataNo"), "100");
    EXPECT_EQ(Box("txtStartTime"), "17/05/2024 10:00:00");

    Show(std::vector<float>(10, 20.0f), std::vector<float>(10, 20.0f), 3600);
    EXPECT_EQ(SamplingRate(), "60:00");

    // A span of a million days between two points: more seconds than the box's integer holds.
    FillChart(window.Chart(), {20.0f, 20.0f}, {20.0f, 20.0f}, 1);
    window.Chart().Data().SetXDataII(0, 1, At(2024, 5, 17, 10, 0, 0) + 1'000'000.0);
    window.UpdateGraphStatistics();
    EXPECT_EQ(SamplingRate(), "****");
}

TEST_F(StatisticsTest, ExtremesCarryTheTimeOfTheFirstOfEqualValues) {
    Show({18.0f, 25.5f, 25.5f, 17.0f, 17.0f}, {5.0f, 5.0f, 5.0f, 5.0f, 5.0f}, 2);
    EXPECT_EQ(Box("txtT1Max"), "25.5@17/05/2024 10:00:02");
    EXPECT_EQ(Box("txtT1Min"), "17.0@17/05/2024 10:00:06");
    EXPECT_EQ(Box("txtT2Max"), "5.0@17/05/2024 10:00:00");
    EXPECT_EQ(Box("txtT2Min"), "5.0@17/05/2024 10:00:00");
}

TEST_F(StatisticsTest, LimitMarkersShowAsOLAndStayOutOfTheAverage) {
    // T1: over-range samples around a real one; T2: nothing inside the window at all.
    Show({9999.0f, 20.0f, 9999.0f, 20.0f}, {9999.0f, 3000.5f, 9999.0f, 4000.0f}, 2);
    EXPECT_EQ(Box("txtT1Max"), "OL");
    EXPECT_EQ(Box("txtT1Min"), "20.0@17/05/2024 10:00:02");
    EXPECT_EQ(Box("txtT1Avg"), "20.000");
    EXPECT_EQ(Box("txtT2Max"), "OL");
    EXPECT_EQ(Box("txtT2Avg"), "****");
}

TEST_F(StatisticsTest, AverageWindowExcludesBothBoundsAndUsesThreeDecimals) {
    Show({3000.0f, 2999.0f, -3000.0f, -2999.0f, 1.0f}, {1.0f, 2.0f, 2.0f, 2.0f, 2.0f}, 2);
    EXPECT_EQ(Box("txtT1Avg"), "0.333");
    EXPECT_EQ(Box("txtT2Avg"), "1.800");
    // Exactly 3000 is a number, not a limit marker.
    EXPECT_EQ(Box("txtT1Max"), "3000.0@17/05/2024 10:00:00");
}

TEST_F(StatisticsTest, UnderRangeMarkersAreNeverAnExtremeCandidateAboveTheStart) {
    // The maximum starts at -9999: a channel of under-range markers keeps it and shows "OL".
    Show({-9999.0f, -9999.0f}, {-9999.0f, 10.0f}, 2);
    EXPECT_EQ(Box("txtT1Max"), "OL");
    EXPECT_EQ(Box("txtT1Min"), "OL");
    EXPECT_EQ(Box("txtT2Max"), "10.0@17/05/2024 10:00:02");
    EXPECT_EQ(Box("txtT2Min"), "OL");
}

}  // namespace
}  // namespace kr820::graph
