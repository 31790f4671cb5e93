// SPDX-License-Identifier: MIT
// Appending readings and reading them back: every field, the header, gaps and alarm marks, the
// time look-ups and the streaming reads across block boundaries.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "store/block_codec.h"
#include "store/store_reader.h"
#include "store/store_writer.h"
#include "store_test_support.h"

namespace kr820::store {
namespace {

using testing::MadeUpHeader;
using testing::MadeUpReading;
using testing::SteppedClock;

class StoreAppendTest : public ::testing::Test {
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("recording.kr820")); }
    QTemporaryDir m_dir;
};

TEST_F(StoreAppendTest, ReadsBackEveryFieldOfEveryReadingWithTheHeader) {
    StoreHeader header = MadeUpHeader();
    header.Fahrenheit = true;
    QString error;
    auto writer = StoreWriter::Create(Path(), header, &error);
    ASSERT_TRUE(writer) << error.toStdString();
    // Across several blocks and an open one at the end.
    constexpr qint64 kCount = 3 * kBlockReadings + 17;
    for (qint64 i = 0; i < kCount; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
    EXPECT_EQ(writer->Count(), kCount);

    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_EQ(reader->Header(), header);
    ASSERT_EQ(reader->Count(), kCount);
    for (qint64 i = 0; i < kCount; ++i) ASSERT_EQ(reader->At(i), MadeUpReading(i)) << i;
    EXPECT_FALSE(reader->At(kCount));
    EXPECT_FALSE(reader->Header().PointsAsked);  // until stopped
}

TEST_F(StoreAppendTest, SteppedClockTimesComeBackEachReadingWithItsOwnTime) {
    QString error;
    auto writer = StoreWriter::Create(Path(), MadeUpHeader(), &error);
    ASSERT_TRUE(writer);
    SteppedClock clock(testing::kStartMs, 2000);
    std::vector<qint64> times;
    for (int i = 0; i < 300; ++i) {
        if (i == 100) clock.Jump(-60'000);            // the system clock set back a minute
        if (i == 200) clock.Jump(86'400'000LL * 90);  // a quarter of a year without readings
        StoredReading reading = MadeUpReading(i);
        reading.TimeMs = clock.Step();
        ASSERT_TRUE(writer->Append(reading));
        times.push_back(reading.TimeMs);
    }
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader);
    for (int i = 0; i < 300; ++i) EXPECT_EQ(reader->At(i)->TimeMs, times[size_t(i)]) << i;
}

TEST_F(StoreAppendTest, TimeLookUpsFindTheFirstReadingAtOrAfterAndTheNearest) {
    QString error;
    auto writer = StoreWriter::Create(Path(), MadeUpHeader(), &error);
    constexpr qint64 kCount = 5 * kBlockReadings + 100;
    for (qint64 i = 0; i < kCount; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader);
    const qint64 start = testing::kStartMs;
    EXPECT_EQ(reader->LowerBound(start - 5000), 0);
    EXPECT_EQ(reader->LowerBound(start), 0);
    for (qint64 i : {1LL, 255LL, 256LL, 257LL, 511LL, 1280LL, 1300LL, kCount - 1}) {
        EXPECT_EQ(reader->LowerBound(start + i * 1000), i);
        EXPECT_EQ(reader->LowerBound(start + i * 1000 - 999), i);
        EXPECT_EQ(reader->Nearest(start + i * 1000 - 400), i);
        EXPECT_EQ(reader->Nearest(start + i * 1000 - 600), i - 1);
    }
    EXPECT_EQ(reader->LowerBound(start + kCount * 1000), kCount);
    EXPECT_EQ(reader->Nearest(start + kCount * 5000), kCount - 1);
}

TEST_F(StoreAppendTest, StreamsARangeInOrderAndStopsWhenAsked) {
    QString error;
    auto writer = StoreWriter::Create(Path(), MadeUpHeader(), &error);
    std::vector<StoredReading> readings;
    for (qint64 i = 0; i < 1000; ++i) readings.push_back(MadeUpReading(i));
    ASSERT_TRUE(writer->AppendMany(readings));
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader);

    std::vector<qint64> seen;
    EXPECT_TRUE(reader->ForEach(250, 900, [&](qint64 index, const StoredReading& reading) {
        EXPECT_EQ(reading, MadeUpReading(index));
        seen.push_back(index);
        return index < 600;
    }));
    ASSERT_EQ(seen.size(), 351u);
    EXPECT_EQ(seen.front(), 250);
    EXPECT_EQ(seen.back(), 600);

    ReadingCursor cursor(*reader, 990, 5000);
    qint64 expected = 990;
    while (const auto reading = cursor.Next()) EXPECT_EQ(*reading, MadeUpReading(expected++));
    EXPECT_EQ(expected, 1000);
}

TEST_F(StoreAppendTest, KeepsGapsAlarmMarksAndTheStop) {
    QString error;
    auto writer = StoreWriter::Create(Path(), MadeUpHeader(), &error);
    ASSERT_TRUE(writer->Append(MadeUpReading(0)));
    ASSERT_TRUE(writer->BeginGap(testing::kStartMs + 500, GapCause::LinkLost));
    ASSERT_TRUE(writer->EndGap(testing::kStartMs + 9000));
    ASSERT_TRUE(writer->BeginGap(testing::kStartMs + 20000, GapCause::LinkLost));
    const AlarmMark raised{testing::kStartMs + 1000, 1, 3, AlarmMarkChange::Raised, 81.5, 80.0};
    const AlarmMark cleared{testing::kStartMs + 4000, 1, 4, AlarmMarkChange::Cleared, {}, {}};
    ASSERT_TRUE(writer->AddAlarmMark(raised));
    ASSERT_TRUE(writer->AddAlarmMark(cleared));
    ASSERT_TRUE(writer->Finish(testing::kStartMs + 30000));

    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->Header().StoppedMs, testing::kStartMs + 30000);
    const std::vector<Gap> gaps{
        {testing::kStartMs + 500, testing::kStartMs + 9000, GapCause::LinkLost},
        {testing::kStartMs + 20000, std::nullopt, GapCause::LinkLost}};
    EXPECT_EQ(reader->Gaps(), gaps);
    EXPECT_EQ(reader->AlarmMarks(testing::kStartMs, testing::kStartMs + 5000),
              (std::vector<AlarmMark>{raised, cleared}));
    EXPECT_EQ(reader->AlarmMarks(testing::kStartMs + 2000, testing::kStartMs + 5000),
              (std::vector<AlarmMark>{cleared}));
}

TEST_F(StoreAppendTest, ResumeGoesOnAfterTheLastReadingAndASecondWriterIsRefused) {
    QString error;
    {
        auto writer = StoreWriter::Create(Path(), MadeUpHeader(), &error);
        for (qint64 i = 0; i < 300; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
        QString refusal;
        EXPECT_FALSE(StoreWriter::Resume(Path(), &refusal));
        EXPECT_TRUE(refusal.contains(QStringLiteral("being recorded by another program")))
            << refusal.toStdString();
        EXPECT_FALSE(StoreWriter::Create(Path(), MadeUpHeader(), &refusal));
    }
    auto writer = StoreWriter::Resume(Path(), &error);
    ASSERT_TRUE(writer) << error.toStdString();
    EXPECT_EQ(writer->Count(), 300);
    EXPECT_EQ(writer->LastTimeMs(), MadeUpReading(299).TimeMs);
    for (qint64 i = 300; i < 5000; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_EQ(reader->Count(), 5000);
    EXPECT_TRUE(reader->ForEach(0, 5000, [](qint64 i, const StoredReading& reading) {
        EXPECT_EQ(reading, MadeUpReading(i)) << i;
        return true;
    }));
}

}  // namespace
}  // namespace kr820::store
