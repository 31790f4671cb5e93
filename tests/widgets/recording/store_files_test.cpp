// SPDX-License-Identifier: MIT
// A recording store through the main window's File commands: opened by File > Open, saved as
// text and exported for spreadsheets from the store, and a graph file that cannot hold it all.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

#include "app/file_commands.h"
#include "app/spreadsheet_export.h"
#include "core/chart/chart_model.h"
#include "core/files/graph_file.h"
#include "graph/recording_plot.h"
#include "main_window_rig.h"
#include "recording_fixture.h"
#include "store/store_schema.h"
#include "store/stored_recording.h"

namespace kr820::testing {
namespace {

class StoreFilesTest : public MainWindowRig {
protected:
    void SetUp() override {
        StartProgram();
        if (HasFatalFailure()) return;
        prompter.onDialog = [](QDialog&) { return int(QDialog::Accepted); };  // every point
    }
    // A store of `readings` readings in the program's home, opened through File > Open.
    // `damage` (SQL) is done to the store before it is opened.
    graph::TfrmGraph* OpenStore(qint64 readings,
                                const QString& name = QStringLiteral("recording.kr8db"),
                                const char* damage = nullptr) {
        const QString path = InHome(name);
        store::StoreHeader header;
        header.StartMs = kRecordingStartMs;
        QString error;
        auto writer = store::StoreWriter::Create(path, header, &error);
        EXPECT_TRUE(writer) << error.toStdString();
        if (!writer) return nullptr;
        std::vector<store::StoredReading> batch;
        for (qint64 i = 0; i < readings; ++i) {
            batch.push_back(WaveReading(i));
            if (batch.size() == 50'000 || i + 1 == readings) {
                EXPECT_TRUE(writer->AppendMany(batch));
                batch.clear();
            }
        }
        // A recording that was stopped: one left running would be opened as an incomplete copy.
        EXPECT_TRUE(writer->Finish(kRecordingStartMs + readings * 1000));
        writer.reset();
        if (damage) {
            sqlite3* db = nullptr;
            EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
            EXPECT_EQ(sqlite3_exec(db, damage, nullptr, nullptr, nullptr), SQLITE_OK)
                << sqlite3_errmsg(db);
            sqlite3_close(db);
        }
        prompter.openFileName = path;
        window->Files().OpenSingleFile();
        graph::TfrmGraph* opened = nullptr;  // the newest window
        for (graph::TfrmGraph* graph : window->findChildren<graph::TfrmGraph*>()) {
            if (graph->Recording()) opened = graph;
        }
        return opened;
    }
    QList<QByteArray> Lines(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        QList<QByteArray> lines = file.readAll().split('\n');
        if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
        return lines;
    }
};

TEST_F(StoreFilesTest, SavedAsTextAndExportedForSpreadsheetsFromTheStore) {
    graph::TfrmGraph* graph = OpenStore(3000);
    ASSERT_TRUE(graph);
    EXPECT_EQ(graph->windowTitle(), InHome("recording.kr8db"));
    EXPECT_EQ(graph->Recording()->Count(), 3000);

    prompter.saveFileName = InHome(QStringLiteral("out.txt"));
    ASSERT_TRUE(window->Files().SaveSingleSet(*graph));
    const QList<QByteArray> text = Lines(prompter.saveFileName);
    ASSERT_EQ(text.size(), 3000);
    // Reading 5 has no T1: "OL", as a single data set file has always written it.
    EXPECT_TRUE(text[5].contains("\tOL\t")) << text[5].toStdString();
    EXPECT_TRUE(text[2999].trimmed().endsWith(QByteArray::number(WaveReading(2999).T2, 'f', 1)))
        << text[2999].toStdString();

    prompter.saveFileName = InHome(QStringLiteral("rows.csv"));
    ASSERT_TRUE(app::ExportForSpreadsheets(graph, prompter, window.get()));
    const QList<QByteArray> rows = Lines(prompter.saveFileName);
    ASSERT_EQ(rows.size(), 3001);
    EXPECT_EQ(rows[0].trimmed(), "time,utc_offset,t1,t2,unit");
    EXPECT_TRUE(
        rows[6].trimmed().endsWith(",," + QByteArray::number(WaveReading(5).T2, 'f', 1) + ",C"))
        << rows[6].toStdString();
}

TEST_F(StoreFilesTest, AGraphFileTooSmallForTheRecordingSaysSoAndOffersThePartThatFits) {
    const qint64 readings = core::ChartData::kMaxPoints + 3;
    graph::TfrmGraph* graph = OpenStore(readings);
    ASSERT_TRUE(graph);
    const int drawn = graph->Chart().Data().Points();
    prompter.saveFileName = InHome(QStringLiteral("part.ghf"));

    prompter.confirmAnswer = ui::Prompter::Answer::No;
    EXPECT_FALSE(window->Files().SaveSingleSet(*graph));
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions.front(),
              app::kGraphFileLimitQuestion.arg(readings).arg(core::ChartData::kMaxPoints));
    EXPECT_FALSE(QFile::exists(prompter.saveFileName));

    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    ASSERT_TRUE(window->Files().SaveSingleSet(*graph));
    core::ChartModel read;
    ASSERT_EQ(core::ReadGraphFile(prompter.saveFileName, read).Status,
              core::GraphReadStatus::Loaded);
    ASSERT_EQ(read.Data().Points(), core::ChartData::kMaxPoints);
    const store::StoredReading last = WaveReading(core::ChartData::kMaxPoints - 1);
    EXPECT_EQ(read.Data().XDataII(0, core::ChartData::kMaxPoints - 1),
              graph::ChartTimeOfMs(last.TimeMs));
    EXPECT_EQ(read.Data().YData(1, core::ChartData::kMaxPoints - 1),
              graph::ChartValue(last.T2, last.T2Valid));
    EXPECT_EQ(graph->Chart().Data().Points(), drawn) << "the window draws its plan again";
}

TEST_F(StoreFilesTest, AStoreOpensWhateverItsNameAndAFileThatReadsAsNothingIsRefused) {
    graph::TfrmGraph* graph = OpenStore(40, QStringLiteral("oven.kr820"));
    ASSERT_TRUE(graph) << "known by its content";
    EXPECT_EQ(graph->Recording()->Count(), 40);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('|').toStdString();

    const auto windows = [this] { return window->findChildren<graph::TfrmGraph*>().size(); };
    const qsizetype before = windows();
    QFile notes(InHome(QStringLiteral("notes.dat")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("nothing a meter wrote\n");
    notes.close();
    for (const QString name : {QStringLiteral("notes.dat"), QStringLiteral("missing.txt")}) {
        prompter.messages.clear();
        prompter.openFileName = InHome(name);
        window->Files().OpenSingleFile();
        EXPECT_EQ(windows(), before) << "no empty window for " << name.toStdString();
        ASSERT_EQ(prompter.messages.size(), 1) << name.toStdString();
        EXPECT_TRUE(prompter.messages[0].contains(InHome(name)));
    }
    EXPECT_EQ(prompter.messages[0].left(17), QStringLiteral("Cannot open file "));
}

TEST_F(StoreFilesTest, ADamagedStoreShowsWhatReadsAndSaysWhatIsDamaged) {
    // A block missing in the middle: the readings before it, and which block.
    graph::TfrmGraph* graph =
        OpenStore(20'000, QStringLiteral("recording.kr8db"), "DELETE FROM blocks WHERE block = 40");
    ASSERT_TRUE(graph);
    EXPECT_EQ(graph->Recording()->Count(), 40 * 256);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages.front(),
              store::DamagedShownMessage(InHome("recording.kr8db"), "block 40 is missing", 10'240));
    graph->close();
    prompter.messages.clear();
    QFile::remove(InHome("recording.kr8db"));

    // A row with a huge negative key: all the readings, and the bad row named.
    graph =
        OpenStore(3000, QStringLiteral("recording.kr8db"),
                  "INSERT INTO blocks SELECT -9000000000000000000, first_ms, readings FROM blocks "
                  "WHERE block = 3");
    ASSERT_TRUE(graph);
    EXPECT_EQ(graph->Recording()->Count(), 3000);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(
        prompter.messages.front().contains("is damaged: a block has the bad number "
                                           "-9000000000000000000"))
        << prompter.messages.front().toStdString();
}

}  // namespace
}  // namespace kr820::testing
