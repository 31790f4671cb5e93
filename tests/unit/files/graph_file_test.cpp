// SPDX-License-Identifier: MIT
// Graph files: the length prefix, the round trip of a whole chart, and files that must be
// refused without touching the chart.
#include "core/files/graph_file.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include "core/chart/chart_model.h"
#include "file_test_support.h"

namespace kr820::core {
namespace {

using testing::ReadWhole;
using testing::WriteWhole;

void Fill(ChartModel& chart, float offset) {
    chart.Data().SetSubsets(2);
    chart.Data().SetPoints(50);
    for (int p = 0; p < 50; ++p) {
        chart.Data().SetXDataII(0, p, 46000.0 + p * kOneSecond);
        chart.Data().SetXDataII(1, p, 46000.0 + p * kOneSecond);
        chart.Data().SetYData(0, p, offset + p * 0.5f);
        chart.Data().SetYData(1, p, offset - p * 0.5f);
    }
    chart.Settings().MainTitle = QStringLiteral("Oven %1").arg(offset);
    chart.Axes().SetSplit(true);
}

QByteArray LengthPrefix(quint32 length) {
    QByteArray prefix(4, '\0');
    qToLittleEndian(length, prefix.data());
    return prefix;
}

class GraphFile : public testing::ScratchFolder {
protected:
    // The file of a chart other than the one a test loads into.
    QByteArray SavedFile() {
        ChartModel saved;
        Fill(saved, 20.0f);
        const QString path = PathOf("saved.ghf");
        EXPECT_TRUE(WriteGraphFile(saved, path).Written());
        return ReadWhole(path);
    }

    // Loads `bytes` as a file into a chart that already holds something, and checks that a
    // refusal left that chart exactly as it was.
    GraphReadOutcome LoadRefused(const QByteArray& bytes) {
        ChartModel chart;
        Fill(chart, 80.0f);
        const ChartState before = chart.State();
        const QString path = PathOf("damaged.ghf");
        WriteWhole(path, bytes);
        const GraphReadOutcome outcome = ReadGraphFile(path, chart);
        EXPECT_NE(outcome.Status, GraphReadStatus::Loaded);
        EXPECT_TRUE(chart.State() == before);
        return outcome;
    }
};

TEST_F(GraphFile, HoldsTheChartBlockBehindItsLittleEndianLengthAndLoadsBack) {
    ChartModel saved;
    Fill(saved, 20.0f);
    const QString path = PathOf("chart.ghf");
    ASSERT_TRUE(WriteGraphFile(saved, path).Written());

    const QByteArray block = saved.SaveToBlock();
    EXPECT_EQ(ReadWhole(path), LengthPrefix(quint32(block.size())) + block);

    ChartModel loaded;
    const GraphReadOutcome outcome = ReadGraphFile(path, loaded);
    EXPECT_EQ(outcome.Status, GraphReadStatus::Loaded);
    EXPECT_EQ(GraphReadMessage(outcome, path), "");
    EXPECT_TRUE(loaded.State() == saved.State());
}

TEST_F(GraphFile, ShortFilesAndLengthsBeyondTheFileAreStreamReadErrors) {
    const QByteArray file = SavedFile();
    for (const QByteArray& bytes : {file.chopped(1), file.left(2), QByteArray(),
                                    LengthPrefix(0xFFFFFFF0u) + file.mid(4, 10)}) {
        const GraphReadOutcome outcome = LoadRefused(bytes);
        EXPECT_EQ(outcome.Status, GraphReadStatus::StreamReadError);
        EXPECT_EQ(GraphReadMessage(outcome, PathOf("damaged.ghf")), "Stream read error");
    }
}

TEST_F(GraphFile, TrailingBytesAndBlocksTheChartRefusesAreDamage) {
    const QByteArray file = SavedFile();
    EXPECT_EQ(LoadRefused(file + '\0').Status, GraphReadStatus::Damaged);

    const GraphReadOutcome foreign = LoadRefused(LengthPrefix(8) + "NOTCHART");
    EXPECT_EQ(foreign.Status, GraphReadStatus::Damaged);
    EXPECT_EQ(foreign.Chart, ChartLoadResult::NotAChartBlock);

    // The right length around a block cut short inside.
    const QByteArray block = file.mid(4).chopped(9);
    const GraphReadOutcome cut = LoadRefused(LengthPrefix(quint32(block.size())) + block);
    EXPECT_EQ(cut.Status, GraphReadStatus::Damaged);
    EXPECT_EQ(cut.Chart, ChartLoadResult::Truncated);
}

TEST_F(GraphFile, OpenAndCreateFailuresNameTheFileAndTheReason) {
    ChartModel chart;
    const QString absent = PathOf("absent.ghf");
    const GraphReadOutcome read = ReadGraphFile(absent, chart);
    EXPECT_EQ(read.Status, GraphReadStatus::CannotOpen);
    EXPECT_EQ(GraphReadMessage(read, absent),
              QStringLiteral("Cannot open file \"%1\". %2").arg(absent, read.Reason));
    EXPECT_FALSE(read.Reason.isEmpty());

    const QString unreachable = PathOf("no such folder/chart.ghf");
    const WriteOutcome written = WriteGraphFile(chart, unreachable);
    EXPECT_EQ(written.Status, WriteStatus::CannotCreate);
    EXPECT_EQ(GraphWriteMessage(written, unreachable),
              QStringLiteral("Cannot create file \"%1\". %2").arg(unreachable, written.Reason));
}

}  // namespace
}  // namespace kr820::core
