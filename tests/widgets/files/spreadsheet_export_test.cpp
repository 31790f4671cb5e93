// SPDX-License-Identifier: MIT
// File > "Export for Spreadsheets...": the window's points in the command line's CSV, whatever the
// regional settings, written whole or not at all.
#include "app/spreadsheet_export.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "core/documents/data_logger_document.h"
#include "core/files/export_rows.h"
#include "core/files/reading_rows.h"
#include "core/realtime/real_time_sample.h"
#include "core/state/app_state.h"
#include "fake_prompter.h"
#include "graph/frm_graph.h"
#include "logger_memory_builder.h"

namespace kr820::app {
namespace {

// A DataLogger window over a document of its own, as the main window makes it.
struct DataLoggerWindow {
    DataLoggerWindow() { window.SetUpDataLogger(); }
    QTemporaryDir home;
    core::DataLoggerDocument document{home.path()};
    testing::FakePrompter prompter;
    core::AppState state;
    graph::SharedGraphTools tools;
    graph::TfrmGraph window{
        graph::GraphRole::DataLogger, graph::TfrmGraph::kDataLoggerCaption,
        graph::GraphContext{prompter, state, tools, home.path(), &document, QLocale(), {}}};
};

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
    DataLoggerWindow logger;
    graph::TfrmGraph& window = logger.window;
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
    EXPECT_EQ(lines[1], ("2026-12-07T09:00:00," + offset + ",125.0,0.0,C\r").toLatin1());
    // Out of range: empty.
    EXPECT_EQ(lines[6], ("2026-12-07T09:00:25," + offset + ",125.5,,C\r").toLatin1());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

// What "kr820-cli export <file> --set <set>" writes.
QByteArray CommandLineExport(const QString& path, int set) {
    const core::ExportOpenOutcome opened =
        core::OpenForExport(path, core::RegionalFormats::FromLocale());
    const core::RowLayout layout{core::RowFormat::Csv, false, {}};
    QByteArray text = core::HeaderLine(layout);
    for (const core::ReadingRow& row : opened.Sets.at(set - 1).Rows)
        text += core::RowLine(row, layout);
    return text;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SpreadsheetExport, ADownloadedSetGivesTheBytesOfTheCommandLinesExport) {
    emulator::DataSet celsius;
    celsius.start = {2026, 12, 7, 9, 0, 0};
    celsius.pairs.assign(4, {250, 260});
    emulator::DataSet fahrenheit;
    fahrenheit.start = {2026, 12, 7, 10, 0, 0};
    fahrenheit.rateCode = 6;
    fahrenheit.unit = emulator::TemperatureUnit::kFahrenheit;
    fahrenheit.pairs.assign(5, {300, 310});
    const QByteArray image =
        QByteArray::fromStdString(emulator::BuildMemoryImage({celsius, fahrenheit}));
    QTemporaryDir folder;
    const QString collection = folder.filePath("sets.820");
    QFile file(collection);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(image) == image.size());
    file.close();

    DataLoggerWindow logger;
    graph::TfrmGraph& window = logger.window;
    ASSERT_EQ(window.ShowMemoryImage(image).Code, core::ParseCode::Success);
    testing::FakePrompter prompter;
    for (const int set : {1, 2}) {
        window.ShowDataSet(set - 1);
        prompter.saveFileName = folder.filePath(QStringLiteral("set%1.csv").arg(set));
        ASSERT_TRUE(ExportForSpreadsheets(&window, prompter, nullptr));
        const QByteArray exported = ReadAll(prompter.saveFileName);
        EXPECT_EQ(exported, CommandLineExport(collection, set));
        EXPECT_TRUE(exported.endsWith(set == 1 ? ",C\r\n" : ",F\r\n"));
    }
}

TEST(SpreadsheetExport, ARecordingCarriesTheUnitTheMeterShowed) {
    graph::TfrmGraph window(graph::GraphRole::RealTime, graph::TfrmGraph::kRealTimeCaption);
    window.SetUpRealTime();
    const core::TDateTime start = core::ToTDateTime(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    window.BeginRealTimeRecording(3, start);
    constexpr quint16 kFahrenheitShown = 0x40;
    for (int p = 0; p < 2; ++p)
        window.ShowRealTimePoint(p, core::MakeRealTimeSample(kFahrenheitShown, 0, 20.0f, 21.0f),
                                 start + p * core::kOneSecond, core::kOneSecond);
    QTemporaryDir folder;
    testing::FakePrompter prompter;
    prompter.saveFileName = folder.filePath("recording.csv");
    ASSERT_TRUE(ExportForSpreadsheets(&window, prompter, nullptr));
    const QList<QByteArray> lines = ReadAll(prompter.saveFileName).split('\n');
    ASSERT_EQ(lines.size(), 1 + 2 + 1);
    EXPECT_TRUE(lines[1].endsWith(",68.0,69.8,F\r")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(",F\r"));
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
