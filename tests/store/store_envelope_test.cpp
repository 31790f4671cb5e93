// SPDX-License-Identifier: MIT
// The envelopes against a brute-force pass over random readings, at every level, whether read
// from a closed store, from one still being written, or taken up by a follower part way; the
// summaries and the draw query built on them.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <random>

#include "store/range_cover.h"
#include "store/store_reader.h"
#include "store/store_writer.h"
#include "store_test_support.h"

namespace kr820::store {
namespace {

std::vector<StoredReading> RandomReadings(qint64 count, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<float> value(-200.0f, 1370.0f);
    std::uniform_int_distribution<int> step(1, 3000);
    std::bernoulli_distribution invalid(0.05);
    std::vector<StoredReading> readings;
    qint64 time = testing::kStartMs;
    for (qint64 i = 0; i < count; ++i) {
        StoredReading r;
        r.TimeMs = time += step(random);
        r.T1 = value(random);
        r.T2 = value(random);
        r.T1Valid = !invalid(random);
        r.T2Valid = !invalid(random);
        readings.push_back(r);
    }
    return readings;
}

// What an entry must be, straight from the readings it covers.
Envelope BruteForce(const std::vector<StoredReading>& readings, qint64 first, qint64 end) {
    Envelope expected;
    end = std::min<qint64>(end, qint64(readings.size()));
    for (qint64 i = first; i < end; ++i) {
        const auto& r = readings[size_t(i)];
        if (i == first) expected.FirstMs = r.TimeMs;
        expected.LastMs = r.TimeMs;
        ++expected.Readings;
        for (auto [valid, value, span] : {std::tuple{r.T1Valid, r.T1, &expected.T1},
                                          std::tuple{r.T2Valid, r.T2, &expected.T2}}) {
            if (!valid) continue;
            span->Min = std::min(span->Min, value);
            span->Max = std::max(span->Max, value);
            span->Sum += value;
            ++span->Count;
        }
    }
    return expected;
}

void ExpectSame(const Envelope& actual, const Envelope& expected, const std::string& where) {
    EXPECT_EQ(actual.FirstMs, expected.FirstMs) << where;
    EXPECT_EQ(actual.LastMs, expected.LastMs) << where;
    EXPECT_EQ(actual.Readings, expected.Readings) << where;
    for (auto [a, e] : {std::pair{actual.T1, expected.T1}, std::pair{actual.T2, expected.T2}}) {
        EXPECT_EQ(a.Count, e.Count) << where;
        EXPECT_EQ(a.Min, e.Min) << where;
        EXPECT_EQ(a.Max, e.Max) << where;
        EXPECT_NEAR(a.Sum, e.Sum, 1e-6 * (1 + std::abs(e.Sum))) << where;
    }
}

void ExpectEveryLevel(StoreReader& reader, const std::vector<StoredReading>& readings) {
    const auto count = qint64(readings.size());
    ASSERT_EQ(reader.Count(), count);
    for (int level = 1; level <= kTopLevel; ++level) {
        const qint64 size = ReadingsPerEntry(level);
        const auto entries = reader.Entries(level, 0, (count + size - 1) / size);
        ASSERT_TRUE(entries) << reader.Failure().toStdString();
        ASSERT_EQ(qint64(entries->size()), (count + size - 1) / size) << "level " << level;
        for (size_t e = 0; e < entries->size(); ++e) {
            ExpectSame((*entries)[e], BruteForce(readings, qint64(e) * size, qint64(e + 1) * size),
                       "level " + std::to_string(level) + " entry " + std::to_string(e));
        }
    }
}

class StoreEnvelopeTest : public ::testing::Test {
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("recording.kr820")); }
    QTemporaryDir m_dir;
};

// Past the first stored chunk of level 3 (65,536 readings), with an open block and open entries
// at every level at the end.
constexpr qint64 kRandomCount = 70'000 + 77;

TEST_F(StoreEnvelopeTest, EveryLevelEqualsTheBruteForceExtremesOfItsReadings) {
    const auto readings = RandomReadings(kRandomCount, 1);
    QString error;
    auto writer = StoreWriter::Create(Path(), testing::MadeUpHeader(), &error);
    // Single commits and batches that end anywhere in a block.
    size_t at = 0;
    for (; at < 5000; ++at) ASSERT_TRUE(writer->Append(readings[at]));
    for (size_t batch = 1; at < readings.size(); batch = batch * 7 % 1000 + 1) {
        const size_t end = std::min(readings.size(), at + batch);
        ASSERT_TRUE(writer->AppendMany(std::span(readings).subspan(at, end - at)));
        at = end;
    }
    auto reader = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(reader) << error.toStdString();
    ExpectEveryLevel(*reader, readings);
}

TEST_F(StoreEnvelopeTest, AFollowerSeesTheSameEnvelopesAtEveryStep) {
    const auto readings = RandomReadings(kRandomCount, 2);
    QString error;
    auto writer = StoreWriter::Create(Path(), testing::MadeUpHeader(), &error);
    auto follower = StoreReader::Open(Path(), &error);
    ASSERT_TRUE(follower);
    EXPECT_EQ(follower->Count(), 0);
    EXPECT_FALSE(follower->Refresh());
    const std::vector<size_t> stops{
        1, 15, 16, 17, 255, 256, 4095, 4096, 4097, 40000, 65535, 65536, size_t(kRandomCount)};
    size_t at = 0;
    for (size_t stop : stops) {
        ASSERT_TRUE(writer->AppendMany(std::span(readings).subspan(at, stop - at)));
        at = stop;
        EXPECT_TRUE(follower->Refresh());
        const std::vector<StoredReading> sofar(readings.begin(), readings.begin() + long(stop));
        ExpectEveryLevel(*follower, sofar);
        EXPECT_EQ(follower->At(qint64(stop) - 1), readings[stop - 1]);
        if (HasFailure()) FAIL() << "after " << stop << " readings";
    }
}

TEST_F(StoreEnvelopeTest, SummariesOfRandomRangesEqualTheBruteForce) {
    const auto readings = RandomReadings(kRandomCount, 3);
    QString error;
    auto writer = StoreWriter::Create(Path(), testing::MadeUpHeader(), &error);
    ASSERT_TRUE(writer->AppendMany(readings));
    auto reader = StoreReader::Open(Path(), &error);
    std::mt19937_64 random(4);
    std::uniform_int_distribution<qint64> index(0, kRandomCount);
    for (int i = 0; i < 200; ++i) {
        qint64 first = index(random), end = index(random);
        if (first > end) std::swap(first, end);
        const auto summary = reader->Summarize(first, end);
        ASSERT_TRUE(summary);
        ExpectSame(*summary, BruteForce(readings, first, end),
                   std::to_string(first) + ".." + std::to_string(end));
    }
}

TEST_F(StoreEnvelopeTest, DrawGivesEachPixelTheExtremesOfItsReadingsOrTheReadingsThemselves) {
    const auto readings = RandomReadings(kRandomCount, 5);
    QString error;
    auto writer = StoreWriter::Create(Path(), testing::MadeUpHeader(), &error);
    ASSERT_TRUE(writer->AppendMany(readings));
    auto reader = StoreReader::Open(Path(), &error);

    // Few readings: the readings, with one on each side.
    const qint64 a = readings[1000].TimeMs, b = readings[1999].TimeMs;
    auto plan = reader->Draw(a, b, 800);
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->DrawsPoints);
    EXPECT_EQ(plan->FirstIndex, 1000);
    EXPECT_EQ(plan->EndIndex, 2000);
    ASSERT_EQ(plan->Points.size(), 1002u);
    EXPECT_EQ(plan->Points.front(), readings[999]);
    EXPECT_EQ(plan->Points.back(), readings[2000]);

    // Many: every column holds exactly the readings whose time falls in it (the edges of the
    // range cut through entries, which the cover resolves down to single readings).
    for (auto [first, end, pixels, level] : {std::tuple{qint64(0), kRandomCount, 1000, 1},
                                             std::tuple{qint64(333), qint64(61'234), 640, 1},
                                             std::tuple{qint64(5), qint64(9000), 300, 1},
                                             std::tuple{qint64(100), qint64(5100), 1000, 0},
                                             std::tuple{qint64(0), kRandomCount, 200, 2}}) {
        const qint64 from = readings[size_t(first)].TimeMs;
        const qint64 to = readings[size_t(end - 1)].TimeMs;
        plan = reader->Draw(from, to, pixels);
        ASSERT_TRUE(plan);
        EXPECT_FALSE(plan->DrawsPoints);
        EXPECT_EQ(plan->Level, level);
        EXPECT_TRUE(plan->Points.empty());
        EXPECT_EQ(plan->FirstIndex, first);
        EXPECT_EQ(plan->EndIndex, end);
        const double scale = double(pixels) / (double(to) - double(from) + 1.0);
        // An entry goes to the column of its first reading (one straddling a border is drawn
        // a pixel early at most): the columns hold every reading once, and the extremes of
        // the whole equal the brute force.
        Envelope all;
        qint64 inColumns = 0;
        int lastPixel = -1;
        for (const auto& column : plan->Columns) {
            EXPECT_GT(column.Pixel, lastPixel);
            lastPixel = column.Pixel;
            inColumns += column.Span.Readings;
            all.Merge(column.Span);
        }
        EXPECT_EQ(inColumns, end - first);
        // No entry wider than a pixel: nearly every pixel has a column of its own.
        EXPECT_GT(plan->Columns.size(), size_t(pixels) * 9 / 10);
        ExpectSame(all, BruteForce(readings, first, end), "whole drawn range");
        for (const auto& column : plan->Columns) {
            EXPECT_EQ(int((double(column.Span.FirstMs) - double(from)) * scale), column.Pixel);
        }
    }
}

TEST(RangeCoverTest, CoversExactlyInOrderWithAlignedEntries) {
    std::mt19937_64 random(6);
    std::uniform_int_distribution<qint64> index(0, 2'000'000);
    for (int i = 0; i < 500; ++i) {
        qint64 first = index(random), end = index(random);
        if (first > end) std::swap(first, end);
        const int top = int(i % (kTopLevel + 1));
        qint64 at = first;
        for (const auto& run : CoverRange(first, end, top)) {
            ASSERT_LE(run.Level, top);
            ASSERT_LT(run.First, run.End);
            ASSERT_EQ(run.First * ReadingsPerEntry(run.Level), at);
            at = run.End * ReadingsPerEntry(run.Level);
        }
        ASSERT_EQ(at, end);
    }
    EXPECT_EQ(
        CoverRange(3, 600, 2),
        (std::vector<CoverRun>{{0, 3, 16}, {1, 1, 16}, {2, 1, 2}, {1, 32, 37}, {0, 592, 600}}));
}

}  // namespace
}  // namespace kr820::store
