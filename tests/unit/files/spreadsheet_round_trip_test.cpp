// SPDX-License-Identifier: MIT
// The rows written for spreadsheets read back by their columns, by the command line's export and
// by Open, and written again byte for byte.
#include <gtest/gtest.h>

#include "core/chart/chart_data.h"
#include "core/files/export_rows.h"
#include "core/files/text_file_reader.h"
#include "file_test_support.h"

namespace kr820::core {
namespace {

const QString kCollection = QStringLiteral(KR820_FIXTURES "/three_sets.820");

RegionalFormats Formats() {
    return RegionalFormats::FromLocale(QLocale("de_DE"), QDate(2026, 1, 1));
}

// What the command line's export writes: the header, then the rows of the sets asked for.
QByteArray Exported(const std::vector<ExportedSet>& sets, const RowLayout& layout, int onlySet) {
    QByteArray text = HeaderLine(layout);
    for (std::size_t i = 0; i < sets.size(); ++i) {
        if (onlySet > 0 && static_cast<int>(i) + 1 != onlySet) continue;
        for (const ReadingRow& row : sets[i].Rows) text += RowLine(row, layout);
    }
    return text;
}

class SpreadsheetRoundTrip : public testing::ScratchFolder {};

TEST_F(SpreadsheetRoundTrip, TheCommandLineReadsBackWhatItWrote) {
    const ExportOpenOutcome collection = OpenForExport(kCollection, Formats());
    ASSERT_EQ(collection.Sets.size(), 3u);
    struct Case {
        RowFormat format;
        bool withSet;
        int onlySet;
        const char* name;
    };
    for (const Case& c :
         {Case{RowFormat::Csv, true, 0, "all.csv"}, Case{RowFormat::Csv, false, 2, "two.csv"},
          Case{RowFormat::Tsv, false, 3, "three.txt"}, Case{RowFormat::Tsv, true, 0, "all.txt"}}) {
        SCOPED_TRACE(c.name);
        const RowLayout layout{c.format, c.withSet, {}};
        const QByteArray written = Exported(collection.Sets, layout, c.onlySet);
        testing::WriteWhole(PathOf(c.name), written);

        const ExportOpenOutcome read = OpenForExport(PathOf(c.name), Formats());
        ASSERT_EQ(read.Status, ExportOpenStatus::Opened) << read.Problem.toStdString();
        EXPECT_EQ(read.Sets.size(), c.withSet ? 3u : 1u);
        EXPECT_EQ(Exported(read.Sets, layout, 0), written);
        const ExportedSet& first = read.Sets.front();
        const ExportedSet& original = collection.Sets[c.onlySet > 0 ? c.onlySet - 1 : 0];
        EXPECT_EQ(first.Count, original.Count);
        EXPECT_EQ(first.RateSeconds, original.RateSeconds);
        EXPECT_EQ(first.Unit, original.Unit);
    }
}

TEST_F(SpreadsheetRoundTrip, OpenLaysTheRowsOntoAChartThatExportsTheSameBytes) {
    // Set 2 is in Fahrenheit.
    const ExportOpenOutcome collection = OpenForExport(kCollection, Formats());
    ASSERT_EQ(collection.Sets.size(), 3u);
    const RowLayout layout{RowFormat::Csv, false, {}};
    const QByteArray written = Exported(collection.Sets, layout, 2);
    testing::WriteWhole(PathOf("set2.csv"), written);

    const TextReadOutcome read = ReadTextFile(PathOf("set2.csv"), TextSeparator::Comma, Formats());
    ASSERT_EQ(read.Status, TextReadStatus::Read);
    ASSERT_EQ(read.Content.T1.size(), 20u);
    ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(read.Content.Points);
    LayTextFileOntoChart(read.Content, chart);
    EXPECT_EQ(RowsText(RowsOfChart(chart, "F"), layout), written);
}

}  // namespace
}  // namespace kr820::core
