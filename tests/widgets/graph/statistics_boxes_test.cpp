// SPDX-License-Identifier: MIT
// The window's statistics boxes, each filled from its own channel's figures.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "graph/frm_graph.h"
#include "graph_test_support.h"

namespace kr820::graph {
namespace {

class StatisticsBoxesTest : public ::testing::Test {
protected:
    StatisticsBoxesTest()
        : window(GraphRole::DataLogger, TfrmGraph::kDataLoggerCaption, harness.Context()) {}

    QString Box(const char* name) const {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }
    QString SamplingRate() const {
        return window.findChild<QComboBox*>("txtSamplingRate")->currentText();
    }

    testing::GraphHarness harness;
    TfrmGraph window;
};

TEST_F(StatisticsBoxesTest, EveryBoxShowsItsChannelsFigure) {
    testing::FillChart(window.Chart().Data(), {18.0f, 25.5f, 17.0f}, {9999.0f, 5.0f, 4.0f}, 3);
    window.UpdateGraphStatistics();
    EXPECT_EQ(Box("txtStartTime"), "17/05/2024 10:00:00");
    EXPECT_EQ(SamplingRate(), "00:03");
    EXPECT_EQ(Box("txtDataNo"), "3");
    EXPECT_EQ(Box("txtT1Max"), "25.5@17/05/2024 10:00:03");
    EXPECT_EQ(Box("txtT1Min"), "17.0@17/05/2024 10:00:06");
    EXPECT_EQ(Box("txtT1Avg"), "20.167");
    EXPECT_EQ(Box("txtT2Max"), "OL");
    EXPECT_EQ(Box("txtT2Min"), "4.0@17/05/2024 10:00:06");
    EXPECT_EQ(Box("txtT2Avg"), "4.500");

    // A chart without points has no start.
    testing::FillChart(window.Chart().Data(), {}, {}, 3);
    window.UpdateGraphStatistics();
    EXPECT_EQ(Box("txtStartTime"), "");
    EXPECT_EQ(Box("txtDataNo"), "0");
}

}  // namespace
}  // namespace kr820::graph
