// SPDX-License-Identifier: MIT
// The range rules of the scope choice for writing a text file.
#include "core/files/point_range.h"

#include <gtest/gtest.h>

namespace kr820::core {
namespace {

TEST(PointRange, SelectionIsOrderedSignlessAndCutToTheChart) {
    EXPECT_EQ(AllPoints(500), (PointRange{1, 500}));
    EXPECT_EQ(SelectedPoints("10", "5", 20), (PointRange{5, 10}));
    EXPECT_EQ(SelectedPoints("0", "3", 20), (PointRange{1, 3}));
    EXPECT_EQ(SelectedPoints("-2", "4", 20), (PointRange{2, 4}));
    EXPECT_EQ(SelectedPoints(" 7 ", "900", 20), (PointRange{7, 20}));
    EXPECT_EQ(SelectedPoints("-2147483648", "1", 20), (PointRange{1, 20}));
    EXPECT_EQ(SelectedPoints("0", "0", 20)->Count(), 0);
    EXPECT_EQ(SelectedPoints("30", "40", 20)->Count(), 0);
    for (const char* bad : {"", "abc", "1.5", "99999999999"}) {
        EXPECT_FALSE(SelectedPoints(bad, "5", 20)) << bad;
        EXPECT_FALSE(SelectedPoints("5", bad, 20)) << bad;
    }
}

}  // namespace
}  // namespace kr820::core
