// SPDX-License-Identifier: MIT
// The stores of every format: those of the versions before read, followed and taken up in their
// own format; the packed format's readings and envelopes checked against damage byte by byte, and
// a long recording kept in a few bytes a reading.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>

#include "store/store_reader.h"
#include "store/store_schema.h"
#include "store/store_writer.h"
#include "store_test_support.h"

namespace kr820::store {
namespace {

using testing::MadeUpHeader;
using testing::MadeUpReading;

constexpr qint64 kHourMs = 3'600'000;

// The readings of the old stores (old_stores/README.md).
StoredReading OldStoreReading(int format, qint64 i) {
    StoredReading r = MadeUpReading(i);
    if (format == 2 && i >= 200) r.TimeMs -= kHourMs;
    return r;
}

int FormatOf(const QString& path) {
    auto db = SqliteDb::Open(path, SqliteDb::Mode::Read, nullptr);
    return db ? int(FormatVersion(*db).value_or(0)) : 0;
}

void ExpectReadings(StoreReader& reader, int format, qint64 count) {
    ASSERT_EQ(reader.Count(), count);
    EXPECT_FALSE(reader.Damaged()) << reader.Notice().toStdString();
    std::vector<StoredReading> expected;
    EXPECT_TRUE(reader.ForEach(0, count, [&](qint64 i, const StoredReading& r) {
        expected.push_back(OldStoreReading(format, i));
        EXPECT_EQ(r, expected.back()) << i;
        return !::testing::Test::HasFailure();
    })) << reader.Failure().toStdString();
    const auto summary = reader.Summarize(0, count);
    ASSERT_TRUE(summary) << reader.Failure().toStdString();
    EXPECT_EQ(*summary, EnvelopeOf(expected));
    for (const qint64 first : {qint64(0), qint64(16), qint64(17)}) {
        const auto entries = reader.Entries(1, first, first + 20);
        ASSERT_TRUE(entries);
        for (size_t k = 0; k < entries->size(); ++k) {
            const qint64 from = (first + qint64(k)) * kFanOut;
            const qint64 to = std::min(count, from + kFanOut);
            EXPECT_EQ((*entries)[k], EnvelopeOf(std::span(expected).subspan(from, to - from)));
        }
    }
}

class StoreFormatsTest : public ::testing::Test {
protected:
    QString Copy(const char* name) {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(QFile::copy(QStringLiteral(KR820_OLD_STORES "/") + QLatin1String(name), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(StoreFormatsTest, StoresOfTheFormatsBeforeReadWithTheirGapsMarksAndSteps) {
    {
        QString error;
        auto reader = StoreReader::Open(Copy("format1.kr8db"), &error);
        ASSERT_TRUE(reader) << error.toStdString();
        ExpectReadings(*reader, 1, 700);
        EXPECT_EQ(reader->Gaps().size(), 1u);
        EXPECT_EQ(reader->AlarmMarks(0, std::numeric_limits<qint64>::max()).size(), 1u);
        EXPECT_TRUE(reader->Header().StoppedMs);
    }
    QString error;
    auto reader = StoreReader::Open(Copy("format2.kr8db"), &error);
    ASSERT_TRUE(reader) << error.toStdString();
    ExpectReadings(*reader, 2, 400);
    EXPECT_EQ(reader->ClockSteps().size(), 1u);
}

TEST_F(StoreFormatsTest, AnOldStoreGoesOnInItsOwnFormatAndIsFollowed) {
    const QString path = Copy("format1.kr8db");
    QString error;
    auto follower = StoreReader::Open(path, &error);
    ASSERT_TRUE(follower) << error.toStdString();
    auto writer = StoreWriter::Resume(path, &error);
    ASSERT_TRUE(writer) << error.toStdString();
    for (qint64 i = 700; i < 1000; ++i) ASSERT_TRUE(writer->Append(OldStoreReading(1, i)));
    EXPECT_EQ(FormatOf(path), kPlainFormatVersion);
    EXPECT_TRUE(follower->Refresh());
    ExpectReadings(*follower, 1, 1000);
    // A step back turns it format 2, as before.
    StoredReading back = OldStoreReading(1, 1000);
    back.TimeMs -= kHourMs;
    ASSERT_TRUE(writer->Append(back));
    ASSERT_TRUE(writer->Finish(back.TimeMs));
    writer.reset();
    EXPECT_EQ(FormatOf(path), kTimesBackFormatVersion);
    auto reader = StoreReader::Open(path, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_EQ(reader->Count(), 1001);
    EXPECT_EQ(reader->At(1000), back);
    EXPECT_EQ(reader->At(999), OldStoreReading(1, 999));
}

// Realistic readings: one a second, changing by tenths now and then.
StoredReading SteadyReading(qint64 i) {
    StoredReading r;
    r.TimeMs = testing::kStartMs + i * 1000 + (i % 5 == 0 ? 3 : 0);
    r.T1 = float(std::lround(215 + 40 * std::sin(double(i) / 900.0)) / 10.0);
    r.T2 = float(std::lround(-38 + 15 * std::cos(double(i) / 1300.0)) / 10.0);
    r.T2Valid = i % 5000 > 30;
    return r;
}

TEST_F(StoreFormatsTest, ALongRecordingTakesUnderEightBytesAReading) {
    const QString path = m_dir.filePath(QStringLiteral("day.kr8db"));
    constexpr qint64 kCount = 86'400;
    {
        QString error;
        auto writer = StoreWriter::Create(path, MadeUpHeader(), &error);
        ASSERT_TRUE(writer) << error.toStdString();
        std::vector<StoredReading> readings;
        for (qint64 i = 0; i < kCount; ++i) readings.push_back(SteadyReading(i));
        // In commits of an hour: the pages are filled as a recording fills them.
        for (qint64 i = 0; i < kCount; i += 3600) {
            ASSERT_TRUE(writer->AppendMany(std::span(readings).subspan(i, 3600)));
        }
        ASSERT_TRUE(writer->Finish(readings.back().TimeMs));
    }
    EXPECT_LT(double(QFileInfo(path).size()) / kCount, 8.0);
    QString error;
    auto reader = StoreReader::Open(path, &error);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->ForEach(0, kCount, [](qint64 i, const StoredReading& r) {
        EXPECT_EQ(r, SteadyReading(i)) << i;
        return !::testing::Test::HasFailure();
    }));
}

// The packed format against flipped bits: in a block's readings, its time, the open block and an
// envelope row, every flip is found and said with the row's number, or changes nothing read.
class StoreChecksumTest : public StoreFormatsTest {
protected:
    // Past one level-2 chunk (65,536 readings), so that an envelope row is stored.
    static constexpr qint64 kCount = 65'536 + 300;

    void SetUp() override {
        m_path = m_dir.filePath(QStringLiteral("sealed.kr8db"));
        auto writer = StoreWriter::Create(m_path, MadeUpHeader(), nullptr);
        std::vector<StoredReading> readings;
        for (qint64 i = 0; i < kCount; ++i) readings.push_back(MadeUpReading(i));
        ASSERT_TRUE(writer->AppendMany(std::span(readings).first(kCount - 40)));
        for (qint64 i = kCount - 40; i < kCount; ++i) ASSERT_TRUE(writer->Append(readings[i]));
        writer.reset();  // killed-like: not stopped, the open block as written in place
        ASSERT_EQ(sqlite3_open(m_path.toUtf8().constData(), &m_db), SQLITE_OK);
        Fold();
        m_expected = Read();
        ASSERT_TRUE(m_expected.Failure.isEmpty());
        ASSERT_EQ(m_expected.Readings.size(), size_t(kCount));
    }
    void TearDown() override { sqlite3_close(m_db); }

    struct Seen {
        std::vector<StoredReading> Readings;
        std::optional<Envelope> Summary;
        std::vector<Envelope> Entries;  // of levels 2 and 3, as a chart of it all draws them
        QString Failure;                // what the reader said, when it said anything
    };

    // All a reader gives: every reading as an export takes it, and the summary from envelopes.
    Seen Read() {
        Seen seen;
        QString error;
        auto reader = StoreReader::Open(m_path, &error);
        if (!reader) {
            seen.Failure = error;
            return seen;
        }
        if (reader->Damaged()) seen.Failure = reader->Notice();
        if (!reader->ForEach(0, reader->Count(), [&](qint64, const StoredReading& r) {
                seen.Readings.push_back(r);
                return true;
            })) {
            seen.Failure += reader->Failure();
        }
        seen.Summary = reader->Summarize(0, reader->Count());
        if (!seen.Summary) seen.Failure += reader->Failure();
        for (const int level : {2, 3}) {
            const auto entries = reader->Entries(level, 0, reader->Count());
            if (!entries) seen.Failure += reader->Failure();
            if (entries) seen.Entries.insert(seen.Entries.end(), entries->begin(), entries->end());
        }
        return seen;
    }

    QByteArray Blob(const char* sql, qint64 key) {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(m_db, sql, -1, &select, nullptr);
        sqlite3_bind_int64(select, 1, key);
        QByteArray blob;
        if (sqlite3_step(select) == SQLITE_ROW) {
            blob = QByteArray(static_cast<const char*>(sqlite3_column_blob(select, 0)),
                              sqlite3_column_bytes(select, 0));
        }
        sqlite3_finalize(select);
        return blob;
    }
    void Put(const char* sql, qint64 key, const QByteArray& blob) {
        sqlite3_stmt* update = nullptr;
        sqlite3_prepare_v2(m_db, sql, -1, &update, nullptr);
        sqlite3_bind_blob(update, 1, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(update, 2, key);
        ASSERT_EQ(sqlite3_step(update), SQLITE_DONE) << sqlite3_errmsg(m_db);
        sqlite3_finalize(update);
        Fold();
    }
    // The damage goes into the file itself, as a flip on the disk does.
    void Fold() {
        ASSERT_EQ(
            sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr),
            SQLITE_OK);
    }

    // Flips a bit of every `stride`th byte of the first `length` bytes of a row, one at a time,
    // and holds what is read against what was written.
    void FlipEach(const char* select, const char* update, qint64 key, qsizetype length, int stride,
                  const QString& named) {
        const QByteArray pristine = Blob(select, key);
        ASSERT_FALSE(pristine.isEmpty());
        length = std::min(length, pristine.size());
        int detected = 0;
        for (qsizetype at = 0; at < length; at += stride) {
            QByteArray flipped = pristine;
            flipped[at] = char(flipped[at] ^ (1 << (at % 8)));
            Put(update, key, flipped);
            const Seen seen = Read();
            if (!seen.Failure.isEmpty()) {
                ++detected;
                EXPECT_TRUE(seen.Failure.contains(named))
                    << at << ": " << seen.Failure.toStdString();
                // What is shown is the readings before the damage, as they were.
                ASSERT_LE(seen.Readings.size(), m_expected.Readings.size());
                EXPECT_TRUE(std::equal(seen.Readings.begin(), seen.Readings.end(),
                                       m_expected.Readings.begin()))
                    << at;
            } else {
                EXPECT_EQ(seen.Readings, m_expected.Readings) << "byte " << at;
                EXPECT_EQ(seen.Summary, m_expected.Summary) << "byte " << at;
                EXPECT_EQ(seen.Entries, m_expected.Entries) << "byte " << at;
            }
            if (HasFailure()) break;
        }
        Put(update, key, pristine);
        EXPECT_GT(detected, 0);
    }

    QString m_path;
    sqlite3* m_db = nullptr;
    Seen m_expected;
};

TEST_F(StoreChecksumTest, AFlipInAnyReadingsOrTimeOfABlockIsFoundAndNamed) {
    const char* select = "SELECT readings FROM blocks WHERE block = ?1";
    const char* update = "UPDATE blocks SET readings = ?1 WHERE block = ?2";
    FlipEach(select, update, 0, 1 << 20, 9, QStringLiteral("block 0 "));
    FlipEach(select, update, 131, 1 << 20, 13, QStringLiteral("block 131 "));
    // The open block: its readings, end mark and checksum; the room after them is no data.
    FlipEach(select, update, kCount / kBlockReadings, 300, 2,
             QStringLiteral("block %1 ").arg(kCount / kBlockReadings));
    for (const qint64 block : {qint64(5), kCount / kBlockReadings}) {
        for (int bit = 0; bit < 50; bit += 3) {
            // SQLite has no xor: (a | b) - (a & b).
            const QByteArray xorSql =
                QStringLiteral(
                    "UPDATE blocks SET first_ms = (first_ms | %1) - (first_ms & %1) "
                    "WHERE block = %2")
                    .arg(qint64(1) << bit)
                    .arg(block)
                    .toUtf8();
            ASSERT_EQ(sqlite3_exec(m_db, xorSql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
            Fold();
            const Seen seen = Read();
            EXPECT_TRUE(seen.Failure.contains(QStringLiteral("block %1 ").arg(block)))
                << bit << ": " << seen.Failure.toStdString();
            ASSERT_EQ(sqlite3_exec(m_db, xorSql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
    }
    EXPECT_EQ(Read().Readings, m_expected.Readings);
}

TEST_F(StoreChecksumTest, AFlipInAnEnvelopeRowIsFoundAndNamed) {
    FlipEach("SELECT entries FROM envelopes WHERE level = 2 AND chunk = ?1",
             "UPDATE envelopes SET entries = ?1 WHERE level = 2 AND chunk = ?2", 7, 1 << 20, 5,
             QStringLiteral("envelope rows of level 2 from 7 on"));
    // The row that the end of the recording is summed from: the store does not open, and says
    // which row it is.
    FlipEach("SELECT entries FROM envelopes WHERE level = 3 AND chunk = ?1",
             "UPDATE envelopes SET entries = ?1 WHERE level = 3 AND chunk = ?2", 0, 1 << 20, 11,
             QStringLiteral("envelope row of level 3, number 0,"));
}

TEST_F(StoreChecksumTest, ABlockThatFailsIsReportedByNumberAndTimesAndTheRestStillReads) {
    QByteArray block = Blob("SELECT readings FROM blocks WHERE block = ?1", 3);
    block[40] = char(block[40] ^ 0x10);
    Put("UPDATE blocks SET readings = ?1 WHERE block = ?2", 3, block);
    QString error;
    auto reader = StoreReader::Open(m_path, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_FALSE(reader->Damaged());
    std::vector<StoredReading> seen;
    EXPECT_FALSE(reader->ForEach(0, kCount, [&](qint64, const StoredReading& r) {
        seen.push_back(r);
        return true;
    }));
    EXPECT_EQ(seen.size(), size_t(3 * kBlockReadings));
    const auto time = [](qint64 i) {
        return QDateTime::fromMSecsSinceEpoch(MadeUpReading(i).TimeMs, Qt::UTC)
            .toString(Qt::ISODate);
    };
    EXPECT_TRUE(reader->Failure().contains(
        QStringLiteral("block 3 (readings 769 to 1024, %1 to %2)").arg(time(768), time(1024))))
        << reader->Failure().toStdString();
    // The blocks after it read.
    const auto after = reader->At(4 * kBlockReadings);
    ASSERT_TRUE(after);
    EXPECT_EQ(*after, MadeUpReading(4 * kBlockReadings));
    // Its readings are never data: not by index either.
    EXPECT_FALSE(reader->At(3 * kBlockReadings + 5));

    // A block that the end's envelopes are summed from at Open: the store opens with the
    // readings before it and says so.
    constexpr qint64 kLastWhole = kCount / kBlockReadings - 1;
    const QByteArray sound = Blob("SELECT readings FROM blocks WHERE block = ?1", kLastWhole);
    QByteArray whole = sound;
    whole[100] = char(whole[100] ^ 0x02);
    Put("UPDATE blocks SET readings = ?1 WHERE block = ?2", kLastWhole, whole);
    reader = StoreReader::Open(m_path, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_TRUE(reader->Damaged());
    EXPECT_EQ(reader->Count(), kLastWhole * kBlockReadings);
    EXPECT_TRUE(reader->Notice().contains(QStringLiteral("block %1 (readings").arg(kLastWhole)))
        << reader->Notice().toStdString();
    Put("UPDATE blocks SET readings = ?1 WHERE block = ?2", kLastWhole, sound);

    // The open block failing: the store opens with the readings before it and says so.
    const qint64 open = kCount / kBlockReadings;
    QByteArray last = Blob("SELECT readings FROM blocks WHERE block = ?1", open);
    last[2] = char(last[2] ^ 0x01);
    Put("UPDATE blocks SET readings = ?1 WHERE block = ?2", open, last);
    reader = StoreReader::Open(m_path, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_TRUE(reader->Damaged());
    EXPECT_EQ(reader->Count(), open * kBlockReadings);
    EXPECT_TRUE(reader->Notice().contains(QStringLiteral("block %1 ").arg(open)))
        << reader->Notice().toStdString();
}

}  // namespace
}  // namespace kr820::store
