// SPDX-License-Identifier: MIT
// The real-time journal: what a crash leaves of it is read back up to the first damaged record,
// sizes in it are never trusted, and a running program's journal is left alone.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <limits>

#include "core/realtime/real_time_journal.h"
#include "core/realtime/real_time_journal_file.h"

namespace kr820::core {
namespace {

constexpr TDateTime kStart = 45000.5;  // 15 March 2023, noon

RealTimeJournalPoint Point(int i) {
    RealTimeJournalPoint point;
    point.Time = kStart + (i + 1) * kOneSecond;
    point.Sample.T1 = 20.5f + static_cast<float>(i);
    point.Sample.T2 = -3.25f * static_cast<float>(i);
    point.Sample.T1OutOfRange = i % 3 == 1;
    point.Sample.T2OutOfRange = i % 2 == 1;
    return point;
}

QByteArray JournalOf(int points, std::optional<TDateTime> stopped = std::nullopt) {
    QByteArray bytes = JournalMagic() + EncodeJournalStart({kStart, 3, 500});
    for (int i = 0; i < points; ++i) bytes += EncodeJournalPoint(Point(i));
    if (stopped) bytes += EncodeJournalStop(*stopped);
    return bytes;
}

void ExpectPoints(const RealTimeJournal& journal, int count) {
    ASSERT_EQ(static_cast<int>(journal.Points.size()), count);
    for (int i = 0; i < count; ++i) {
        const RealTimeJournalPoint expected = Point(i);
        const RealTimeJournalPoint& got = journal.Points[static_cast<size_t>(i)];
        EXPECT_EQ(got.Time, expected.Time) << i;
        EXPECT_EQ(got.Sample.T1, expected.Sample.T1) << i;
        EXPECT_EQ(got.Sample.T2, expected.Sample.T2) << i;
        EXPECT_EQ(got.Sample.T1OutOfRange, expected.Sample.T1OutOfRange) << i;
        EXPECT_EQ(got.Sample.T2OutOfRange, expected.Sample.T2OutOfRange) << i;
    }
}

TEST(RealTimeJournalTest, AWholeJournalReadsBackExactly) {
    const auto journal = DecodeJournal(JournalOf(7, kStart + 0.25));
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->Start.Start, kStart);
    EXPECT_EQ(journal->Start.RateIndex, 3);
    EXPECT_EQ(journal->Start.RequestedPoints, 500);
    ExpectPoints(*journal, 7);
    EXPECT_EQ(journal->Stopped, kStart + 0.25);
    EXPECT_FALSE(journal->DamagedEnd);

    const auto running = DecodeJournal(JournalOf(2));
    ASSERT_TRUE(running);
    EXPECT_FALSE(running->Stopped) << "killed while recording: no stop";
    EXPECT_FALSE(running->DamagedEnd);
}

TEST(RealTimeJournalTest, ADamagedEndKeepsThePointsBeforeIt) {
    const QByteArray whole = JournalOf(5);
    const qsizetype lastRecord = whole.size() - EncodeJournalPoint(Point(4)).size();
    // Torn anywhere inside the last record, as a crash in the middle of its write leaves it.
    for (qsizetype cut = lastRecord + 1; cut < whole.size(); ++cut) {
        const auto journal = DecodeJournal(whole.left(cut));
        ASSERT_TRUE(journal) << cut;
        ExpectPoints(*journal, 4);
        EXPECT_TRUE(journal->DamagedEnd) << cut;
    }
    // Any byte of the third point changed: the first two stay, nothing after is believed.
    const qsizetype third = JournalOf(2).size();
    for (qsizetype at = third; at < third + EncodeJournalPoint(Point(2)).size(); ++at) {
        QByteArray garbled = whole;
        garbled[at] = static_cast<char>(garbled[at] ^ 0x21);
        const auto journal = DecodeJournal(garbled);
        ASSERT_TRUE(journal) << at;
        ExpectPoints(*journal, 2);
        EXPECT_TRUE(journal->DamagedEnd) << at;
    }
    // Zeros where the disk had not written the block yet.
    const auto zeroed = DecodeJournal(JournalOf(3) + QByteArray(4096, '\0'));
    ASSERT_TRUE(zeroed);
    ExpectPoints(*zeroed, 3);
    EXPECT_TRUE(zeroed->DamagedEnd);
}

TEST(RealTimeJournalTest, SizesAndValuesInTheFileAreNeverTrusted) {
    // A length field claiming far more than there is.
    QByteArray huge = JournalOf(2);
    huge += QByteArray::fromHex("ffff") + QByteArray(100, 'P');
    auto journal = DecodeJournal(huge);
    ASSERT_TRUE(journal);
    ExpectPoints(*journal, 2);
    EXPECT_TRUE(journal->DamagedEnd);

    // More points than the recording asked for cannot be its own.
    QByteArray tooMany = JournalMagic() + EncodeJournalStart({kStart, 0, 2});
    for (int i = 0; i < 3; ++i) tooMany += EncodeJournalPoint(Point(i));
    journal = DecodeJournal(tooMany);
    ASSERT_TRUE(journal);
    ExpectPoints(*journal, 2);
    EXPECT_TRUE(journal->DamagedEnd);

    // A record that checks but holds no date-time or no number.
    RealTimeJournalPoint noDate = Point(2);
    noDate.Time = 1e300;
    RealTimeJournalPoint noNumber = Point(2);
    noNumber.Sample.T2 = std::numeric_limits<float>::quiet_NaN();
    for (const RealTimeJournalPoint& bad : {noDate, noNumber}) {
        journal = DecodeJournal(JournalOf(2) + EncodeJournalPoint(bad));
        ASSERT_TRUE(journal);
        ExpectPoints(*journal, 2);
        EXPECT_TRUE(journal->DamagedEnd);
    }
}

TEST(RealTimeJournalTest, WithoutAWholeSoundStartItIsNoJournal) {
    EXPECT_FALSE(DecodeJournal(QByteArray()));
    EXPECT_FALSE(DecodeJournal(JournalMagic()));
    QByteArray otherMagic = JournalOf(3);
    otherMagic[7] = '2';
    EXPECT_FALSE(DecodeJournal(otherMagic));
    EXPECT_FALSE(DecodeJournal(JournalOf(0).chopped(1)));
    for (const RealTimeJournalStart& bad :
         {RealTimeJournalStart{kStart, 13, 10}, RealTimeJournalStart{kStart, -1, 10},
          RealTimeJournalStart{kStart, 0, 0}, RealTimeJournalStart{kStart, 0, 100000},
          RealTimeJournalStart{-1e9, 0, 10}}) {
        EXPECT_FALSE(DecodeJournal(JournalMagic() + EncodeJournalStart(bad)))
            << bad.RateIndex << " " << bad.RequestedPoints;
    }
    // A point where the start belongs.
    EXPECT_FALSE(DecodeJournal(JournalMagic() + EncodeJournalPoint(Point(0))));
}

TEST(RealTimeJournalTest, Crc32IsTheStandardOne) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
}

class RealTimeJournalFileTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString path = RealTimeJournalPath(folder.path());
};

TEST_F(RealTimeJournalFileTest, WhatTheWriterAppendsIsReadBackWhileItRunsAndAfterItStops) {
    RealTimeJournalWriter writer(path);
    ASSERT_TRUE(writer.Begin({kStart, 3, 500})) << writer.FailureReason().toStdString();
    for (int i = 0; i < 25; ++i) ASSERT_TRUE(writer.Append(Point(i)));
    auto running = ReadRealTimeJournal(path);
    ASSERT_TRUE(running) << "every point reaches the file as it is taken";
    ExpectPoints(*running, 25);
    ASSERT_TRUE(writer.End(kStart + 0.5));
    const auto stopped = ReadRealTimeJournal(path);
    ASSERT_TRUE(stopped);
    ExpectPoints(*stopped, 25);
    EXPECT_EQ(stopped->Stopped, kStart + 0.5);

    // A new recording replaces the journal.
    ASSERT_TRUE(writer.Begin({kStart + 1, 0, 10}));
    const auto fresh = ReadRealTimeJournal(path);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->Start.Start, kStart + 1);
    EXPECT_TRUE(fresh->Points.empty());

    writer.Remove();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(ReadRealTimeJournal(path));
}

TEST_F(RealTimeJournalFileTest, AJournalAnotherWriterHoldsIsLeftWhole) {
    RealTimeJournalWriter first(path);
    ASSERT_TRUE(first.Begin({kStart, 3, 500}));
    ASSERT_TRUE(first.Append(Point(0)));
    EXPECT_TRUE(RealTimeJournalHeldElsewhere(path));

    RealTimeJournalWriter second(path);
    EXPECT_FALSE(second.Begin({kStart + 1, 0, 10}));
    EXPECT_FALSE(second.FailureReason().isEmpty());
    EXPECT_FALSE(second.IsOpen());
    const auto kept = ReadRealTimeJournal(path);
    ASSERT_TRUE(kept);
    ExpectPoints(*kept, 1);

    first.End(kStart + 0.5);
    EXPECT_TRUE(RealTimeJournalHeldElsewhere(path)) << "held until saved or given up";
    first.Remove();
    EXPECT_FALSE(RealTimeJournalHeldElsewhere(path));
}

TEST_F(RealTimeJournalFileTest, AJournalThatCannotBeWrittenSaysWhyAndStaysClosed) {
    // The folder's place is taken by a file, so no folder and no journal can be made there.
    QFile blocker(folder.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RealTimeJournalWriter writer(RealTimeJournalPath(blocker.fileName()));
    EXPECT_FALSE(writer.Begin({kStart, 3, 500}));
    EXPECT_FALSE(writer.FailureReason().isEmpty());
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_FALSE(writer.Append(Point(0)));
    EXPECT_FALSE(writer.End(kStart + 0.5));
}

}  // namespace
}  // namespace kr820::core
