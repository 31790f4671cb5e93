// SPDX-License-Identifier: MIT
// Graph files: the length prefix, the round trip of a whole chart, and files refused without
// touching the chart.
#include "core/files/graph_file.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include "core/chart/chart_model.h"
#include "file_test_support.h"

namespace kr820::core {
namespace {

using testing::ReadWhole;

void Fill(ChartModel& chart, float offset) {
    chart.Data().SetSubsets(2);
    chart.Data().SetPoints(50);
    for (int p = 0; p < 50; ++p) {
        chart.Data().SetXDataII(0, p, 46000.0 + p * kOneSecond);
        chart.Data().SetYData(1, p, offset - p * 0.5f);
    }
    chart.Settings().MainTitle = QStringLiteral("Oven %1").arg(offset);
}

QByteArray LengthPrefix(quint32 length) {
    QByteArray prefix(4, '\0');
    qToLittleEndian(length, prefix.data());
    return prefix;
}

class GraphFile : public testing::ScratchFolder {
protected:
    // Loads `bytes` into a chart that holds something else; a refusal must leave it as it was.
    GraphReadOutcome LoadRefused(const QByteArray& bytes) {
        ChartModel chart;
        Fill(chart, 80.0f);
        const ChartState before = chart.State();
        testing::WriteWhole(PathOf("bad.ghf"), bytes);
        const GraphReadOutcome outcome = ReadGraphFile(PathOf("bad.ghf"), chart);
        EXPECT_TRUE(chart.State() == before);
        return outcome;
    }
};

TEST_F(GraphFile, HoldsTheChartBlockBehindItsLittleEndianLengthAndLoadsBack) {
    ChartModel saved;
    Fill(saved, 20.0f);
    ASSERT_TRUE(WriteGraphFile(saved, PathOf("a.ghf")).Written());
    const QByteArray block = saved.SaveToBlock();
    EXPECT_EQ(ReadWhole(PathOf("a.ghf")), LengthPrefix(quint32(block.size())) + block);

    ChartModel loaded;
    EXPECT_EQ(ReadGraphFile(PathOf("a.ghf"), loaded).Status, GraphReadStatus::Loaded);
    EXPECT_TRUE(loaded.State() == saved.State());
}

TEST_F(GraphFile, ShortFilesWrongLengthsAndRefusedBlocksChangeNothing) {
    ChartModel saved;
    Fill(saved, 20.0f);
    const QByteArray file = LengthPrefix(quint32(saved.SaveToBlock().size())) + saved.SaveToBlock();
    for (const QByteArray& bytes :
         {file.chopped(1), file.left(2), LengthPrefix(0xFFFFFFF0u) + file.mid(4, 10)}) {
        const GraphReadOutcome outcome = LoadRefused(bytes);
        EXPECT_EQ(outcome.Status, GraphReadStatus::StreamReadError);
        EXPECT_EQ(GraphReadMessage(outcome, PathOf("bad.ghf")), "Stream read error");
    }
    EXPECT_EQ(LoadRefused(file + '\0').Status, GraphReadStatus::Damaged);
    const GraphReadOutcome foreign = LoadRefused(LengthPrefix(8) + "NOTCHART");
    EXPECT_EQ(foreign.Status, GraphReadStatus::Damaged);
    EXPECT_EQ(foreign.Chart, ChartLoadResult::NotAChartBlock);
}

TEST_F(GraphFile, OpenAndCreateFailuresNameTheFileAndTheReason) {
    ChartModel chart;
    const GraphReadOutcome read = ReadGraphFile(PathOf("absent.ghf"), chart);
    EXPECT_EQ(GraphReadMessage(read, PathOf("absent.ghf")),
              QStringLiteral("Cannot open file \"%1\". %2").arg(PathOf("absent.ghf"), read.Reason));
    EXPECT_FALSE(read.Reason.isEmpty());

    const QString unreachable = PathOf("no folder/a.ghf");
    const WriteOutcome written = WriteGraphFile(chart, unreachable);
    EXPECT_EQ(written.Status, WriteStatus::CannotCreate);
    EXPECT_EQ(GraphWriteMessage(written, unreachable),
              QStringLiteral("Cannot create file \"%1\". %2").arg(unreachable, written.Reason));
}

}  // namespace
}  // namespace kr820::core
