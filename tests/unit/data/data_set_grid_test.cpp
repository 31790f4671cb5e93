// SPDX-License-Identifier: MIT
// What the DataLogger window's grid and the text outputs show for the decoded sets.
#include "core/data/data_set_grid.h"

#include <gtest/gtest.h>

#include <QTime>

#include "core/data/limit_values.h"
#include "core/data/rate_codes.h"

namespace kr820::core {
namespace {

TDataSetStore StoreOfTwoSets() {
    TDataSetStore store;
    store.AppendSet({.StartTime = ToTDateTime(QDateTime(QDate(2024, 5, 17), QTime(9, 5, 7))),
                     .RateCode = 12,
                     .SampleCount = 120,
                     .Flags = 0x41});
    store.AppendSet({.StartTime = ToTDateTime(QDateTime(QDate(2025, 12, 1), QTime(23, 59, 59))),
                     .RateCode = 14,
                     .SampleCount = 0,
                     .Flags = 0x00});
    return store;
}

TEST(DataSetGrid, RowsFollowTheHeadings) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const TDataSetStore store = StoreOfTwoSets();
    EXPECT_EQ(DataSetGridRow(store, 0, german),
              (QStringList{"1", "17.05.24", "09:05:07", "01:00:00", "120", "J", "F"}));
    EXPECT_EQ(DataSetGridRow(store, 1, german),
              (QStringList{"2", "01.12.25", "23:59:59", "00:00:02", "0", "K", "C"}));
}

TEST(DataSetGrid, OnlyTheDateFollowsTheRegion) {
    const TDataSetStore store = StoreOfTwoSets();
    const QStringList us =
        DataSetGridRow(store, 0, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us[1], "5/17/24");
    EXPECT_EQ(us[2], "09:05:07");
}

TEST(RateCodes, GridTextSpellsTheInterval) {
    int previous = 0;
    for (std::int32_t code = 0; code < static_cast<std::int32_t>(kRateCodes.size()); ++code) {
        EXPECT_GT(RateSeconds(code), previous) << code;
        EXPECT_EQ(QTime(0, 0).addSecs(RateSeconds(code)).toString("hh:mm:ss"), RateText(code))
            << code;
        previous = RateSeconds(code);
    }
    EXPECT_EQ(RateSeconds(0), 1);
    EXPECT_EQ(RateSeconds(2), 5);
    EXPECT_EQ(RateSeconds(13), 7200);
}

TEST(RateCodes, CodesOffTheListAreTwoSeconds) {
    for (const std::int32_t code : {14, 255, -1}) {
        EXPECT_EQ(RateSeconds(code), 2) << code;
        EXPECT_STREQ(RateText(code), "00:00:02") << code;
    }
}

TEST(TemperatureText, LimitMarkersAndBeyond3000ReadOL) {
    const QLocale c = QLocale::c();
    EXPECT_EQ(TemperatureText(OverLimitValue, 1, c), "OL");
    EXPECT_EQ(TemperatureText(UnderLimitValue, 1, c), "OL");
    EXPECT_EQ(TemperatureText(3000.1, 1, c), "OL");
    EXPECT_EQ(TemperatureText(-3000.1, 1, c), "OL");
    EXPECT_EQ(TemperatureText(3000.0, 1, c), "3000.0");
    EXPECT_EQ(TemperatureText(-3000.0, 1, c), "-3000.0");
    EXPECT_EQ(TemperatureText(2498.0, 1, c), "2498.0");
}

TEST(TemperatureText, UsesTheRegionsDecimalSeparator) {
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(TemperatureText(23.5, 1, german), "23,5");
    EXPECT_EQ(TemperatureText(-10.25, 3, german), "-10,250");
}

}  // namespace
}  // namespace kr820::core
