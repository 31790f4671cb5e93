// SPDX-License-Identifier: MIT
#include "core/chart/drawn_runs.h"

#include <gtest/gtest.h>

namespace kr820::core {
namespace {

constexpr double kNull = 9999.0;

TEST(DrawnRuns, NullPointsAreLeftOutAndBreakTheLine) {
    const std::vector<TDateTime> x{1, 2, 3, 4, 5, 6};
    const std::vector<float> y{20.0f, 9999.0f, 21.0f, 22.0f, 9999.0f, 23.0f};
    EXPECT_EQ(DrawnRuns(x, y, kNull, 0.0), (std::vector<PointRun>{{0, 1}, {2, 2}, {5, 1}}));
}

TEST(DrawnRuns, EverySampleShownAsOLBreaksTheLineLikeTheNullValue) {
    const std::vector<TDateTime> x{1, 2, 3, 4, 5, 6, 7};
    // Under range, a lone sample, beyond the OL bound either way, then the last two joined.
    const std::vector<float> y{-9999.0f, 21.0f, -9999.0f, 3000.5f, -3000.5f, -3000.0f, 3000.0f};
    EXPECT_EQ(DrawnRuns(x, y, kNull, 0.0), (std::vector<PointRun>{{1, 1}, {5, 2}}));
}

TEST(DrawnRuns, AFreshlyResetChartDrawsNothing) {
    const std::vector<TDateTime> x(100, 0.0);
    const std::vector<float> y(100, 9999.0f);
    EXPECT_TRUE(DrawnRuns(x, y, kNull, 0.0).empty());
    EXPECT_TRUE(DrawnRuns({}, {}, kNull, 0.0).empty());
}

TEST(DrawnRuns, PointsFurtherApartThanTheGapThresholdAreNotJoined) {
    const double second = 1.0 / 86400;
    const std::vector<TDateTime> x{0, 2 * second, 4 * second, 64 * second, 66 * second};
    const std::vector<float> y{1, 2, 3, 4, 5};
    EXPECT_EQ(DrawnRuns(x, y, kNull, 10 * second), (std::vector<PointRun>{{0, 3}, {3, 2}}));
    // A threshold above the widest step, or none, joins everything.
    EXPECT_EQ(DrawnRuns(x, y, kNull, 61 * second), (std::vector<PointRun>{{0, 5}}));
    EXPECT_EQ(DrawnRuns(x, y, kNull, 0.0), (std::vector<PointRun>{{0, 5}}));
}

}  // namespace
}  // namespace kr820::core
