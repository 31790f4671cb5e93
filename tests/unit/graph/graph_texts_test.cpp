// SPDX-License-Identifier: MIT
#include "core/graph/graph_texts.h"

#include <gtest/gtest.h>

#include "graph_test_values.h"

namespace kr820::core {
namespace {

using testing::At;

const QLocale kGerman = DisplayLocale(QLocale(QLocale::German, QLocale::Germany));
const QLocale kBritish = DisplayLocale(testing::FixedLocale());

TEST(DataListLineTest, FieldsInOrderWithTemperaturesRightAlignedInNineCharacters) {
    EXPECT_EQ(DataListLine(0, At(2024, 5, 17, 10, 0, 2), 21.4f, 9999.0f, kBritish),
              "    1  17/05/2024  10:00:02     21.4       OL");
}

TEST(DataListLineTest, LimitMarkersBeyondThreeThousandInEitherDirectionAreOL) {
    const auto temperatures = [](float t1, float t2) {
        return DataListLine(0, At(2024, 5, 17, 10, 0, 0), t1, t2, kBritish).right(18);
    };
    EXPECT_EQ(temperatures(-9999.0f, 3000.0f), "       OL   3000.0");
    EXPECT_EQ(temperatures(-3000.0f, 3000.1f), "  -3000.0       OL");
}

TEST(DataListLineTest, LocaleDecimalSeparatorWithoutThousandsSeparator) {
    const QString line = DataListLine(41, At(2024, 5, 17, 10, 0, 0), 1370.0f, -12.5f, kGerman);
    EXPECT_EQ(line, "   42  17.05.24  10:00:00   1370,0    -12,5");
}

TEST(DataListLineTest, PointNumbersLongerThanFiveDigitsLoseTheirFront) {
    const QString line = DataListLine(123455, At(2024, 5, 17, 10, 0, 0), 1.0f, 2.0f, kBritish);
    EXPECT_TRUE(line.startsWith("23456  ")) << line.toStdString();
}

TEST(GraphTextsTest, RightAlignedPadsWithTenBlanksAtMost) {
    EXPECT_EQ(RightAligned("21.4", 9), "     21.4");
    EXPECT_EQ(RightAligned("-1234567.8", 9), "1234567.8");
    // Wider than ten blanks and the text: the field comes out short.
    EXPECT_EQ(RightAligned("7", 15), QString(10, u' ') + "7");
}

TEST(GraphTextsTest, MmSsKeepsTheLastTwoDigitsOfEachField) {
    EXPECT_EQ(MmSsText(0), "00:00");
    EXPECT_EQ(MmSsText(2), "00:02");
    EXPECT_EQ(MmSsText(3600), "60:00");
    EXPECT_EQ(MmSsText(5999), "99:59");
    EXPECT_EQ(MmSsText(6000), "00:00");
}

TEST(GraphTextsTest, LongTimeLeavesOutTheTimeZoneOfTheLocaleFormat) {
    // The American long format ends in a zone field; meter times have none.
    const QLocale american = DisplayLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(LongTimeText(At(2024, 5, 17, 13, 5, 7), american), "1:05:07 PM");
    EXPECT_EQ(DateTimeText(At(2024, 5, 17, 13, 5, 7), kBritish), "17/05/2024 13:05:07");
}

TEST(GraphTextsTest, PointCursorShowsOutOfRangeSamplesAsOLLikeTheDataList) {
    EXPECT_EQ(PointCursorText(At(2024, 5, 17, 10, 0, 4), 21.4f, 9999.0f, kBritish),
              "10:00:04 T1:21.4 T2:OL");
    EXPECT_EQ(PointCursorText(At(2024, 5, 17, 10, 0, 4), -9999.0f, -3000.0f, kBritish),
              "10:00:04 T1:OL T2:-3000.0");
    EXPECT_EQ(PointCursorText(At(2024, 5, 17, 10, 0, 4), 3000.5f, -12.5f, kGerman),
              "10:00:04 T1:OL T2:-12,5");
}

}  // namespace
}  // namespace kr820::core
