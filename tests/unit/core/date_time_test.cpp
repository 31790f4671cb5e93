// SPDX-License-Identifier: MIT
#include "core/time/date_time.h"

#include <gtest/gtest.h>

namespace kr820::core {
namespace {

QDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

TEST(DateTime, CountsDaysFromTheThirtiethOfDecember1899) {
    EXPECT_DOUBLE_EQ(ToTDateTime(At(1899, 12, 30)), 0.0);
    EXPECT_DOUBLE_EQ(ToTDateTime(At(1900, 1, 1)), 2.0);
    EXPECT_DOUBLE_EQ(ToTDateTime(At(2000, 1, 1)), 36526.0);
    EXPECT_DOUBLE_EQ(ToTDateTime(At(2026, 12, 7, 12)), 46363.5);
}

TEST(DateTime, OneSecondIsOneDayOver86400) {
    const TDateTime noon = ToTDateTime(At(2026, 12, 7, 12, 0, 0));
    EXPECT_NEAR(ToTDateTime(At(2026, 12, 7, 12, 0, 1)) - noon, 1.0 / 86400, 1e-10);
    EXPECT_DOUBLE_EQ(kOneSecond, 1.0 / 86400);
}

TEST(DateTime, RoundTripsExactlyToTheSecond) {
    for (const QDateTime& when : {At(2026, 12, 7, 23, 59, 59), At(2024, 2, 29, 0, 0, 1),
                                  At(1999, 12, 31, 13, 14, 15), At(2038, 1, 19, 3, 14, 8)}) {
        EXPECT_EQ(FromTDateTime(ToTDateTime(when)), when) << when.toString().toStdString();
    }
}

TEST(DateTime, RoundsAFractionToTheNearestSecond) {
    const TDateTime justBeforeMidnight = 46363.0 + (86399.6 / 86400.0);
    EXPECT_EQ(FromTDateTime(justBeforeMidnight), At(2026, 12, 8, 0, 0, 0));
    EXPECT_EQ(FromTDateTime(46363.0 + 0.4 / 86400.0), At(2026, 12, 7));
    // Milliseconds of a QDateTime do not survive either.
    EXPECT_DOUBLE_EQ(ToTDateTime(At(2026, 12, 7).addMSecs(400)), 46363.0);
}

TEST(DateTime, BeforeTheEpochTheTimeOfDayStillCountsUp) {
    EXPECT_EQ(FromTDateTime(-1.25), At(1899, 12, 29, 6, 0, 0));
    EXPECT_DOUBLE_EQ(ToTDateTime(At(1899, 12, 29, 6, 0, 0)), -1.25);
    // 29 December, 23:59:59.9 rounds into the next day there too.
    EXPECT_EQ(FromTDateTime(-1.0 - 86399.9 / 86400.0), At(1899, 12, 30));
}

TEST(DateTime, RoundingNeverLeavesTheShownRange) {
    EXPECT_EQ(FromTDateTime(2958465.999999), At(9999, 12, 31, 23, 59, 59));
    EXPECT_EQ(WallClockOf(2958465.999999).Date, QDate(9999, 12, 31));
}

}  // namespace
}  // namespace kr820::core
