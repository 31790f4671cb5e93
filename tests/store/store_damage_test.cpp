// SPDX-License-Identifier: MIT
// A damaged store: its index of blocks checked at Open, the readings before the damage shown with
// what is wrong, and values read from the file bounded before they size, index or loop.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>
#include <limits>

#include "store/extreme_search.h"
#include "store/range_cover.h"
#include "store/store_reader.h"
#include "store/store_schema.h"
#include "store/store_writer.h"
#include "store_test_support.h"

namespace kr820::store {
namespace {

using testing::MadeUpHeader;
using testing::MadeUpReading;

class StoreDamageTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_dir.filePath(QStringLiteral("damaged.kr820"));
        auto writer = StoreWriter::Create(m_path, MadeUpHeader(), nullptr);
        std::vector<StoredReading> readings;
        for (qint64 i = 0; i < kCount; ++i) readings.push_back(MadeUpReading(i));
        ASSERT_TRUE(writer->AppendMany(readings));
        ASSERT_TRUE(writer->Finish(MadeUpReading(kCount - 1).TimeMs));
    }
    void Damage(const char* sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_path.toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        sqlite3_close(db);
    }
    std::unique_ptr<StoreReader> Open() {
        QString error;
        auto reader = StoreReader::Open(m_path, &error);
        EXPECT_TRUE(reader) << error.toStdString();
        return reader;
    }
    static constexpr qint64 kCount = 20 * kBlockReadings + 100;
    QTemporaryDir m_dir;
    QString m_path;
};

TEST_F(StoreDamageTest, ABlockMissingOrOutOfOrderShowsTheReadingsBeforeIt) {
    struct Case {
        const char* sql;
        qint64 shown;
        const char* detail;
    };
    for (const Case& c : {Case{"DELETE FROM blocks WHERE block = 7", 7 * 256, "block 7 is missing"},
                          Case{"DELETE FROM blocks WHERE block = 0", 0, "block 0 is missing"},
                          Case{"UPDATE blocks SET first_ms = first_ms - 86400000 WHERE block = 12",
                               12 * 256, "block 12 is out of time order"},
                          Case{"UPDATE blocks SET first_ms = 9223372036854775000 WHERE block = 5",
                               5 * 256, "block 5 has a time out of range"},
                          Case{"INSERT INTO blocks VALUES(1000000000000000, 1800000000000, x'00')",
                               kCount, nullptr}}) {
        SCOPED_TRACE(c.sql);
        QFile::remove(m_path);
        SetUp();
        Damage(c.sql);
        auto reader = Open();
        ASSERT_TRUE(reader);
        if (c.detail) {
            EXPECT_TRUE(reader->Damaged());
            EXPECT_EQ(reader->Notice(), DamagedShownMessage(m_path, c.detail, c.shown));
            EXPECT_EQ(reader->Count(), c.shown);
        } else {
            // A stray block far after the end: the readings are all there, the damage named.
            EXPECT_TRUE(reader->Damaged());
            EXPECT_EQ(reader->Count(), kCount);
        }
        for (qint64 i = 0; i < reader->Count(); i += 97) ASSERT_EQ(reader->At(i), MadeUpReading(i));
        EXPECT_TRUE(reader->Summarize(0, reader->Count()));
    }
}

TEST_F(StoreDamageTest, ValuesFromTheFileNeverSizeIndexOrLoopOutOfBounds) {
    Damage(
        "INSERT INTO blocks SELECT -9000000000000000000, -9000000000000000000, readings FROM "
        "blocks WHERE block = 3;"
        "UPDATE envelopes SET entries = zeroblob(length(entries)) WHERE level = 1 AND chunk = 2");
    auto reader = Open();
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->Notice().contains("a block has the bad number -9000000000000000000"))
        << reader->Notice().toStdString();
    EXPECT_EQ(reader->Count(), kCount);
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    for (const qint64 time : {kMin, kMin + 1, qint64(0), kMax - 1, kMax}) {
        const qint64 bound = reader->LowerBound(time);
        EXPECT_GE(bound, 0);
        EXPECT_LE(bound, kCount);
        if (const auto nearest = reader->Nearest(time)) EXPECT_LT(*nearest, kCount);
    }
    // Entries whose times are zero draw at the edge, never outside the columns.
    const auto plan = reader->Draw(kMin, kMax - 1, 300);
    ASSERT_TRUE(plan);
    for (const auto& column : plan->Columns) {
        EXPECT_GE(column.Pixel, 0);
        EXPECT_LT(column.Pixel, 300);
    }
    EXPECT_TRUE(CoverRange(-5'000'000'000'000'000'000, kMax, kTopLevel).size() < 1000);
    EXPECT_TRUE(reader->Entries(2, -1'000'000'000'000, 10));
}

}  // namespace
}  // namespace kr820::store
