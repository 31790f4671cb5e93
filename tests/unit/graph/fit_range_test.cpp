// SPDX-License-Identifier: MIT
#include "core/graph/fit_range.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/data/limit_values.h"

namespace kr820::core {
namespace {

TEST(FittedRangeTest, OnlyDrawnValuesWithinTheShownTimeCount) {
    const std::vector<TDateTime> x = {1.0, 2.0, 3.0, 4.0, 5.0};
    const std::vector<float> y = {-500.0f, 20.0f, OverLimitValue, 30.0f, 400.0f};
    // 1 and 5 lie outside the time shown; the "OL" sample is no value at all.
    EXPECT_EQ(FittedRange(x, y, 2.0, 4.0, OverLimitValue), (YRange{19, 31}));
    EXPECT_EQ(FittedRange(x, y, 2.5, 2.9, OverLimitValue), std::nullopt);
}

TEST(FittedRangeTest, TheMarginGrowsWithTheSpanAndRoundsOutward) {
    const std::vector<TDateTime> x = {1.0, 2.0};
    EXPECT_EQ(FittedRange(x, std::vector<float>{-100.0f, 100.0f}, 0, 9, 9999.0),
              (YRange{-110, 110}));
    EXPECT_EQ(FittedRange(x, std::vector<float>{21.3f, 21.3f}, 0, 9, 9999.0), (YRange{20, 23}));
}

TEST(FittedRangeTest, UnionCoversBothAndKeepsEitherAlone) {
    EXPECT_EQ(Union(YRange{0, 10}, YRange{-5, 3}), (YRange{-5, 10}));
    EXPECT_EQ(Union(std::nullopt, YRange{1, 2}), (YRange{1, 2}));
    EXPECT_EQ(Union(std::nullopt, std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace kr820::core
