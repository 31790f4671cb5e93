// SPDX-License-Identifier: MIT
// The fields of a text file under regional settings: two-digit years, values, wall-clock times.
#include "core/files/regional_formats.h"

#include <gtest/gtest.h>

#include "core/data/limit_values.h"
#include "core/files/text_fields.h"
#include "core/files/two_digit_years.h"

namespace kr820::core {
namespace {

const QDate kToday(2026, 6, 15);

RegionalFormats German() { return RegionalFormats::FromLocale(QLocale("de_DE"), kToday); }

TEST(RegionalFormats, LeaveOutTheTimeZoneAndOfferCsvOnlyWithoutADecimalComma) {
    EXPECT_EQ(German().LongTime, "HH:mm:ss");
    EXPECT_FALSE(German().OffersCsv());
    EXPECT_TRUE(RegionalFormats::FromLocale(QLocale("en_US"), kToday).OffersCsv());
    EXPECT_EQ(WithoutTimeZone("H:mm:ss (t)"), "H:mm:ss");
    EXPECT_EQ(WithoutTimeZone("tttt HH 'at' mm"), "HH 'at' mm");
}

TEST(TwoDigitYears, AreReadIntoTheHundredYearsAroundToday) {
    const QLocale german("de_DE");
    const auto read = [&](const char* text) { return ReadDate(text, "dd.MM.yy", german, kToday); };
    EXPECT_EQ(read("15.03.26"), QDate(2026, 3, 15));
    EXPECT_EQ(read("31.12.75"), QDate(2075, 12, 31));
    EXPECT_EQ(read("01.01.76"), QDate(1976, 1, 1));
    EXPECT_EQ(read("29.02.00"), QDate(2000, 2, 29));  // 1900 had no 29 February
    EXPECT_FALSE(read("31.02.26").isValid());
    EXPECT_EQ(ReadDate("5.03.26 г.", "d.MM.yy 'г'.", QLocale("bg_BG"), kToday), QDate(2026, 3, 5));
    EXPECT_EQ(ReadDate("01/01/1926", "dd/MM/yyyy", german, kToday), QDate(1926, 1, 1));
}

TEST(TextFields, ValuesHaveOneDecimalNoGroupingAndOLBothWays) {
    const RegionalFormats german = German();
    EXPECT_EQ(ValueText(3000.0f, german), "3000,0");
    EXPECT_EQ(ValueText(-10.0f, german), "-10,0");
    EXPECT_EQ(ValueText(3000.1f, german), "OL");
    EXPECT_EQ(ValueText(-3000.1f, german), "OL");
    EXPECT_EQ(ReadValue(u" -10,0 ", german), -10.0f);
    EXPECT_EQ(ReadValue(u" OL", german), OverLimitValue);
    EXPECT_EQ(ReadValue(u"warm", german), OverLimitValue);
    // With group separators allowed "1.000" would come back as a thousand.
    EXPECT_EQ(ReadValue(u"1.000", german), OverLimitValue);
}

TEST(TextFields, TimesAreWallClockEvenInTheHourSummerTimeSkips) {
    EXPECT_EQ(WallClockDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
    EXPECT_DOUBLE_EQ(WallClockDateTime(QDate(2024, 3, 31), QTime(2, 30)), 45382.0 + 2.5 / 24);
}

}  // namespace
}  // namespace kr820::core
