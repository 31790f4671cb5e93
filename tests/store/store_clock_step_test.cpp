// SPDX-License-Identifier: MIT
// The system clock set back an hour in the middle of a recording: every reading keeps its own
// time in the order taken, the step is marked, gaps never end before they begin, and the store
// reopens, resumes and reads as sound while real damage to its index is still found.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "store/recording_writer.h"
#include "store/sqlite_db.h"
#include "store/store_reader.h"
#include "store/store_schema.h"
#include "store/store_writer.h"
#include "store_test_support.h"

namespace kr820::store {
namespace {

using testing::MadeUpHeader;
using testing::MadeUpReading;
using testing::SteppedClock;

constexpr qint64 kHourMs = 3'600'000;
constexpr int kCount = 1200;
constexpr int kStepAt = 700;  // in the middle of a block

class StoreClockStepTest : public ::testing::Test {
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("recording.kr820")); }

    // A recording at one a second whose clock is set back an hour before reading kStepAt,
    // while the meter's link is lost. The times of the readings as taken.
    std::vector<qint64> Record() {
        QString error;
        auto writer = RecordingWriter::Open(Path(), MadeUpHeader(), &error);
        if (!writer) {
            ADD_FAILURE() << error.toStdString();
            return {};
        }
        SteppedClock clock(testing::kStartMs, 1000);
        std::vector<qint64> times;
        for (int i = 0; i < kCount; ++i) {
            if (i == kStepAt - 2) EXPECT_TRUE(writer->LinkLost(clock.Now()));
            if (i == kStepAt) {
                clock.Jump(-kHourMs);
                EXPECT_TRUE(writer->LinkRestored(clock.Now()));
            }
            StoredReading reading = MadeUpReading(i);
            reading.TimeMs = clock.Step();
            times.push_back(reading.TimeMs);
            EXPECT_TRUE(writer->Append(reading, nullptr));
        }
        EXPECT_TRUE(writer->Finish(clock.Now()));
        return times;
    }

    void SetBlockTime(qint64 block, qint64 firstMs) {
        QString error;
        auto db = SqliteDb::Open(Path(), SqliteDb::Mode::ReadWrite, &error);
        ASSERT_TRUE(db);
        SqliteStatement update(db->Handle(), "UPDATE blocks SET first_ms = ?1 WHERE block = ?2");
        update.Bind(1, firstMs).Bind(2, block);
        ASSERT_TRUE(update.Run());
    }

    QTemporaryDir m_dir;
};

TEST_F(StoreClockStepTest, ReadingsKeepTheirOwnTimesInOrderAndTheStepIsMarked) {
    const std::vector<qint64> times = Record();
    QString error;
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_FALSE(reader->Damaged()) << reader->Notice().toStdString();
    EXPECT_TRUE(reader->Notice().isEmpty()) << reader->Notice().toStdString();
    ASSERT_EQ(reader->Count(), kCount);
    // In the order taken, as an export writes them: each with its own time.
    std::vector<qint64> read;
    ASSERT_TRUE(reader->ForEach(0, kCount, [&](qint64, const StoredReading& r) {
        read.push_back(r.TimeMs);
        return true;
    }));
    EXPECT_EQ(read, times);
    EXPECT_EQ(reader->At(kStepAt - 1)->TimeMs - reader->At(kStepAt)->TimeMs, kHourMs - 1000);

    const std::vector<Gap> steps{{times[kStepAt], times[kStepAt - 1], GapCause::ClockSetBack}};
    EXPECT_EQ(reader->ClockSteps(), steps);
    for (const Gap& gap : reader->Gaps()) {
        EXPECT_NE(gap.Cause, GapCause::ClockSetBack);
        ASSERT_TRUE(gap.ToMs);
        EXPECT_GE(*gap.ToMs, gap.FromMs);
    }
    EXPECT_EQ(reader->Gaps().size(), 1u);
}

TEST_F(StoreClockStepTest, LookUpsByTimeStayInRangeWhereTimesOccurTwice) {
    const std::vector<qint64> times = Record();
    QString error;
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader);
    for (qint64 t = times.front() - kHourMs * 2; t <= times[kStepAt - 1] + kHourMs; t += 7919) {
        const qint64 at = reader->LowerBound(t);
        EXPECT_GE(at, 0);
        EXPECT_LE(at, kCount);
        const auto nearest = reader->Nearest(t);
        ASSERT_TRUE(nearest);
        EXPECT_LT(*nearest, kCount);
    }
    // Times repeated by the step: one of their readings is found.
    const qint64 twice = times[kStepAt - 1] - 200'000;
    const auto nearest = reader->Nearest(twice);
    ASSERT_TRUE(nearest);
    EXPECT_LE(std::abs(reader->At(*nearest)->TimeMs - twice), 1000);
    const auto plan = reader->Draw(times[kStepAt], times[kStepAt - 1], 300);
    ASSERT_TRUE(plan);
    EXPECT_LE(plan->FirstIndex, plan->EndIndex);
    EXPECT_LE(plan->EndIndex, kCount);
}

TEST_F(StoreClockStepTest, AStoreWithAStepTurnsFormatTwoAndResumesAsSound) {
    const std::vector<qint64> times = Record();
    {
        QString error;
        auto db = SqliteDb::Open(Path(), SqliteDb::Mode::Read, &error);
        ASSERT_TRUE(db);
        EXPECT_EQ(FormatVersion(*db), kStoreFormatVersion);
    }
    QString error;
    auto writer = StoreWriter::Resume(Path(), &error);
    ASSERT_TRUE(writer) << error.toStdString();
    StoredReading more = MadeUpReading(kCount);
    more.TimeMs = times.back() + 1000;
    ASSERT_TRUE(writer->Append(more));
    writer.reset();
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_FALSE(reader->Damaged()) << reader->Notice().toStdString();
    EXPECT_EQ(reader->Count(), kCount + 1);
    EXPECT_EQ(reader->ClockSteps().size(), 1u);
}

TEST_F(StoreClockStepTest, ANewStoreIsMadeInTheNewestFormat) {
    QString error;
    auto writer = StoreWriter::Create(Path(), MadeUpHeader(), &error);
    ASSERT_TRUE(writer);
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
    writer.reset();
    auto db = SqliteDb::Open(Path(), SqliteDb::Mode::Read, &error);
    ASSERT_TRUE(db);
    EXPECT_EQ(FormatVersion(*db), kStoreFormatVersion);
}

TEST_F(StoreClockStepTest, BlocksGoingBackWithoutAMarkAreStillDamage) {
    {
        QString error;
        auto writer = StoreWriter::Create(Path(), MadeUpHeader(), &error);
        ASSERT_TRUE(writer);
        for (int i = 0; i < kCount; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
        ASSERT_TRUE(writer->Finish(MadeUpReading(kCount - 1).TimeMs));
    }
    SetBlockTime(3, MadeUpReading(0).TimeMs - kHourMs);
    QString error;
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->Damaged());
    EXPECT_TRUE(reader->Notice().contains(QStringLiteral("block 3 is out of time order")))
        << reader->Notice().toStdString();
}

TEST_F(StoreClockStepTest, ABlockGoingBackFurtherThanTheMarkedStepIsDamage) {
    const std::vector<qint64> times = Record();
    // Block 4 starts after the step; set it before the step's earliest time.
    SetBlockTime(4, times[kStepAt] - kHourMs);
    QString error;
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->Damaged());
    EXPECT_EQ(reader->Count(), 4 * 256);
}

}  // namespace
}  // namespace kr820::store
