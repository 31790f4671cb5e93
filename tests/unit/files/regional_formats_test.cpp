// SPDX-License-Identifier: MIT
// Regional formats as text files use them: what is taken from a locale, two-digit years, and the
// date, time and value fields written and read.
#include "core/files/regional_formats.h"

#include <gtest/gtest.h>

#include "core/data/limit_values.h"
#include "core/files/text_fields.h"
#include "core/files/two_digit_years.h"

namespace kr820::core {
namespace {

const QDate kToday(2026, 6, 15);

RegionalFormats German() { return RegionalFormats::FromLocale(QLocale("de_DE"), kToday); }
RegionalFormats American() { return RegionalFormats::FromLocale(QLocale("en_US"), kToday); }

TEST(RegionalFormats, TakesFormatsFromTheLocaleWithoutTheTimeZone) {
    const RegionalFormats german = German();
    EXPECT_EQ(german.ShortDate, "dd.MM.yy");
    EXPECT_EQ(german.LongTime, "HH:mm:ss");
    EXPECT_EQ(german.DecimalSeparator, ",");
    EXPECT_FALSE(german.OffersCsv());

    const RegionalFormats american = American();
    EXPECT_EQ(american.ShortDate, "M/d/yy");
    EXPECT_EQ(american.LongTime, "h:mm:ss AP");
    EXPECT_TRUE(american.OffersCsv());

    EXPECT_EQ(WithoutTimeZone("H:mm:ss (t)"), "H:mm:ss");
    EXPECT_EQ(WithoutTimeZone("H:mm:ss 'ч'. t"), "H:mm:ss 'ч'.");
    EXPECT_EQ(WithoutTimeZone("tttt HH:mm 'at' ss"), "HH:mm 'at' ss");
}

TEST(TwoDigitYears, LandInTheHundredYearsAroundToday) {
    EXPECT_EQ(YearNear(26, kToday), 2026);
    EXPECT_EQ(YearNear(75, kToday), 2075);
    EXPECT_EQ(YearNear(76, kToday), 1976);
    EXPECT_EQ(YearNear(0, kToday), 2000);
    EXPECT_EQ(YearNear(99, QDate(2080, 1, 1)), 2099);
    EXPECT_EQ(YearNear(30, QDate(2080, 1, 1)), 2030);
    EXPECT_EQ(YearNear(29, QDate(2080, 1, 1)), 2129);

    const QLocale german("de_DE");
    EXPECT_EQ(ReadDate("15.03.26", "dd.MM.yy", german, kToday), QDate(2026, 3, 15));
    EXPECT_EQ(ReadDate("01.01.76", "dd.MM.yy", german, kToday), QDate(1976, 1, 1));
    // 1900 had no 29 February; 2000 did.
    EXPECT_EQ(ReadDate("29.02.00", "dd.MM.yy", german, kToday), QDate(2000, 2, 29));
    EXPECT_EQ(ReadDate("2/29/00", "M/d/yy", QLocale("en_US"), kToday), QDate(2000, 2, 29));
    EXPECT_EQ(ReadDate("5.03.26 г.", "d.MM.yy 'г'.", QLocale("bg_BG"), kToday), QDate(2026, 3, 5));
    EXPECT_FALSE(ReadDate("31.02.26", "dd.MM.yy", german, kToday).isValid());
    EXPECT_FALSE(ReadDate("15.03.2026", "dd.MM.yy", german, kToday).isValid());
    // Four-digit years are taken as written.
    EXPECT_EQ(ReadDate("01/01/1926", "dd/MM/yyyy", german, kToday), QDate(1926, 1, 1));
}

TEST(TextFields, ValuesHaveOneDecimalNoGroupingAndOLBeyondTheLimits) {
    const RegionalFormats american = American();
    EXPECT_EQ(ValueText(23.5f, american), "23.5");
    EXPECT_EQ(ValueText(-10.0f, american), "-10.0");
    EXPECT_EQ(ValueText(9.0f, american), "9.0");
    EXPECT_EQ(ValueText(3000.0f, american), "3000.0");
    EXPECT_EQ(ValueText(3000.1f, american), "OL");
    EXPECT_EQ(ValueText(-3000.1f, american), "OL");
    EXPECT_EQ(ValueText(UnderLimitValue, american), "OL");
    EXPECT_EQ(ValueText(-2999.9f, German()), "-2999,9");
}

TEST(TextFields, UnreadableValuesAndOLReadAsOverLimit) {
    const RegionalFormats german = German();
    EXPECT_EQ(ReadValue("23,5", german), 23.5f);
    EXPECT_EQ(ReadValue(" -10,0 ", german), -10.0f);
    EXPECT_EQ(ReadValue("OL", german), OverLimitValue);
    EXPECT_EQ(ReadValue(" OL", german), OverLimitValue);
    EXPECT_EQ(ReadValue("warm", german), OverLimitValue);
    EXPECT_EQ(ReadValue("", german), OverLimitValue);
    // A point is a group separator here; read as one, "1.000" would come back as a thousand.
    EXPECT_EQ(ReadValue("1.000", german), OverLimitValue);
}

TEST(TextFields, DateAndTimeReadAsWallClock) {
    const RegionalFormats american = American();
    const TDateTime expected = WallClockDateTime(QDate(2026, 3, 15), QTime(14, 3, 4));
    EXPECT_EQ(ReadDateAndTime("3/15/26", "2:03:04 PM", american), expected);
    EXPECT_EQ(DateText(expected, american), "3/15/26");
    EXPECT_EQ(TimeText(expected, american), "2:03:04 PM");
    EXPECT_FALSE(ReadDateAndTime("3/15/26", "14:03:04", american));
    EXPECT_FALSE(ReadDateAndTime("15.03.26", "2:03:04 PM", american));

    // Days since 30 December 1899, the fraction counting down before it, like every date-time.
    EXPECT_EQ(WallClockDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
    // The hour skipped when summer time begins in much of Europe still has a value.
    EXPECT_DOUBLE_EQ(WallClockDateTime(QDate(2024, 3, 31), QTime(2, 30)), 45382.0 + 2.5 / 24);
}

}  // namespace
}  // namespace kr820::core
