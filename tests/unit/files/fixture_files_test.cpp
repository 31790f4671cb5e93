// SPDX-License-Identifier: MIT
// Sample files kept beside the tests, read as a user's files would be.
#include <gtest/gtest.h>

#include <QFile>

#include "core/data/data_set_store.h"
#include "core/data/parse_memory_image.h"
#include "core/files/collection_file.h"
#include "core/files/regional_formats.h"
#include "core/files/text_file_reader.h"

namespace kr820::core {
namespace {

QString Fixture(const char* name) { return QStringLiteral(KR820_FIXTURES "/") + name; }

RegionalFormats UsFormats() {
    return RegionalFormats::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates),
                                       QDate(2026, 12, 7));
}

TEST(FixtureFiles, ATabTextFileWithCrLfAndAnOlValue) {
    const TextReadOutcome read =
        ReadTextFile(Fixture("en_US_three_points.txt"), TextSeparator::Tab, UsFormats());
    ASSERT_EQ(read.Status, TextReadStatus::Read);
    EXPECT_EQ(read.Content.Points, 4) << "three lines make the four-point minimum";
    ASSERT_GE(read.Content.T1.size(), 3u);
    EXPECT_FLOAT_EQ(read.Content.T1[1], 25.5f);
    EXPECT_FLOAT_EQ(read.Content.T2[1], 9999.0f);
    EXPECT_EQ(FromTDateTime(read.Content.X[2]), QDateTime(QDate(2026, 12, 7), QTime(9, 0, 4)));
    EXPECT_EQ(read.Content.X.size(), 3u) << "the point without a line is left as the chart has it";
}

TEST(FixtureFiles, ACommaFileWithLfAloneAndAShortLine) {
    const TextReadOutcome read =
        ReadTextFile(Fixture("en_US_lf_short_line.csv"), TextSeparator::Comma, UsFormats());
    ASSERT_EQ(read.Status, TextReadStatus::Read);
    EXPECT_FLOAT_EQ(read.Content.T1[1], 9999.0f);
    // The three-field line adds no point: the next complete line fills point 3.
    EXPECT_FLOAT_EQ(read.Content.T1[3], 27.0f);
    EXPECT_EQ(FromTDateTime(read.Content.X[3]), QDateTime(QDate(2026, 12, 7), QTime(9, 0, 8)));
}

TEST(FixtureFiles, ACollectionOfThreeSetsAsTheMeterDeliveredIt) {
    TDataSetStore store;
    const CollectionOpenOutcome opened = OpenCollection(Fixture("three_sets.820"), store);
    ASSERT_EQ(opened.Status, CollectionOpenStatus::Opened);
    EXPECT_EQ(store.SetCount(), 3);
    EXPECT_EQ(store.SampleCounts()[0], 30);
    QFile file(Fixture("three_sets.820"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.Image, file.readAll());
}

}  // namespace
}  // namespace kr820::core
