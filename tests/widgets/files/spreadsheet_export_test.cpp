// SPDX-License-Identifier: MIT
// File > "Export for Spreadsheets...": the window's points in the command line's CSV, whatever the
// regional settings, written whole or not at all.
#include "app/spreadsheet_export.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "core/files/reading_rows.h"
#include "fake_prompter.h"
#include "graph/frm_graph.h"
#include "logger_memory_builder.h"

namespace kr820::app {
namespace {

QByteArray TwelvePointImage() {
    emulator::DataSet set;
    set.start = {2026, 12, 7, 9, 0, 0};
    set.rateCode = 2;  // 5 s
    for (int p = 0; p < 12; ++p)
        set.pairs.push_back({static_cast<std::int16_t>(1250 + p), static_cast<std::int16_t>(-p)});
    set.pairs[5].t2TenthsC = emulator::kOverRangeTenthsC;
    return QByteArray::fromStdString(emulator::BuildMemoryImage({set}));
}

TEST(SpreadsheetExport, WritesIsoTimesAndDecimalPointsUnderGermanSettings) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    graph::TfrmGraph window(graph::GraphRole::DataLogger, graph::TfrmGraph::kDataLoggerCaption);
    window.SetUpDataLogger();
    ASSERT_EQ(window.ShowMemoryImage(TwelvePointImage()).Code, core::ParseCode::Success);
    QTemporaryDir folder;
    testing::FakePrompter prompter;
    prompter.saveFileName = folder.filePath("window");  // the suffix is added

    ASSERT_TRUE(ExportForSpreadsheets(&window, prompter, nullptr));
    QLocale::setDefault(before);
    QFile file(folder.filePath("window.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 1 + 12 + 1);
    EXPECT_EQ(lines[0], "time,utc_offset,t1,t2,unit\r");
    const QString offset =
        core::IsoLocalTime(QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0))).mid(19);
    EXPECT_EQ(lines[1], ("2026-12-07T09:00:00," + offset + ",125.0,0.0,\r").toLatin1());
    // Out of range: empty.
    EXPECT_EQ(lines[6], ("2026-12-07T09:00:25," + offset + ",125.5,,\r").toLatin1());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST(SpreadsheetExport, AnEmptyWindowOrACancelWritesNothing) {
    graph::TfrmGraph window(graph::GraphRole::File, QStringLiteral("empty"));
    QTemporaryDir folder;
    testing::FakePrompter prompter;
    prompter.saveFileName = folder.filePath("empty.csv");
    EXPECT_FALSE(ExportForSpreadsheets(&window, prompter, nullptr));
    EXPECT_EQ(prompter.messages, QStringList{kNothingToExportMessage});
    EXPECT_FALSE(QFile::exists(folder.filePath("empty.csv")));
    EXPECT_FALSE(ExportForSpreadsheets(nullptr, prompter, nullptr));
}

}  // namespace
}  // namespace kr820::app
