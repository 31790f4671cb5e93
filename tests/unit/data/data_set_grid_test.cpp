// SPDX-License-Identifier: MIT
// What the DataLogger window's grid and the text outputs show for the decoded sets.
#include "core/data/data_set_grid.h"

#include <gtest/gtest.h>

#include <QTime>

#include "core/data/limit_values.h"
#include "core/data/rate_codes.h"

namespace kr820::core {
namespace {

TEST(DataSetGrid, RowsFollowTheHeadingsAndOnlyTheDateFollowsTheRegion) {
    TDataSetStore store;
    store.AppendSet({.StartTime = ToTDateTime(QDateTime(QDate(2024, 5, 7), QTime(9, 5, 7))),
                     .RateCode = 12,
                     .SampleCount = 120,
                     .Flags = 0x41});
    store.AppendSet({.StartTime = ToTDateTime(QDateTime(QDate(2025, 12, 1), QTime(23, 59, 59))),
                     .RateCode = 14,
                     .SampleCount = 0,
                     .Flags = 0x00});
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(DataSetGridRow(store, 0, german),
              (QStringList{"1", "07.05.24", "09:05:07", "01:00:00", "120", "J", "F"}));
    EXPECT_EQ(DataSetGridRow(store, 1, german),
              (QStringList{"2", "01.12.25", "23:59:59", "00:00:02", "0", "K", "C"}));
    EXPECT_EQ(DataSetGridRow(store, 0, QLocale(QLocale::English, QLocale::UnitedStates))[1],
              "5/7/24");
}

TEST(RateCodes, GridTextSpellsTheIntervalAndUnknownCodesAreTwoSeconds) {
    for (std::int32_t code = 0; code < 14; ++code) {
        EXPECT_EQ(QTime(0, 0).addSecs(RateSeconds(code)).toString("hh:mm:ss"), RateText(code));
    }
    EXPECT_EQ(RateSeconds(2), 5);
    EXPECT_EQ(RateSeconds(13), 7200);
    EXPECT_EQ(RateSeconds(14), 2);
    EXPECT_EQ(RateSeconds(255), 2);
}

TEST(TemperatureText, BeyondThreeThousandEitherWayReadsOL) {
    const QLocale c = QLocale::c();
    EXPECT_EQ(TemperatureText(OverLimitValue, 1, c), "OL");
    EXPECT_EQ(TemperatureText(UnderLimitValue, 1, c), "OL");
    EXPECT_EQ(TemperatureText(3000.1, 1, c), "OL");
    EXPECT_EQ(TemperatureText(-3000.0, 1, c), "-3000.0");
    EXPECT_EQ(TemperatureText(23.5, 3, QLocale(QLocale::German, QLocale::Germany)), "23,500");
}

}  // namespace
}  // namespace kr820::core
