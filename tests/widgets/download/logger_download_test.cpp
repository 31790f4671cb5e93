// SPDX-License-Identifier: MIT
// "Load Data" as a user meets it: the download into the DataLogger window, its refusals, the
// error dialog, and the collection saved and opened again.
#include "meter/logger_download.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "app/file_commands.h"
#include "core/files/temp_store.h"
#include "fast_clock.h"
#include "graph/data_set_grid_model.h"
#include "graph/frm_graph.h"
#include "logger_memory_builder.h"
#include "main_window_rig.h"
#include "memory_blocks.h"
#include "meter/frm_err.h"
#include "ui/frm_open_save.h"

namespace kr820::meter {
namespace {

// Three sets; the third record's start marker broken when asked.
std::string ThreeSets(bool damageThird) {
    std::vector<emulator::DataSet> sets(3);
    for (int s = 0; s < 3; ++s) {
        sets[s].start = {2026, 12, 1 + s, 8, 0, 0};
        sets[s].rateCode = static_cast<std::uint8_t>(s);
        for (int p = 0; p < 10; ++p)
            sets[s].pairs.push_back({static_cast<std::int16_t>(100 * s + p), 50});
    }
    std::string image = emulator::BuildMemoryImage(sets);
    if (damageThird) image.replace(256 + 2 * (18 + 40), 2, 2, 0x00);  // both start markers
    return image;
}

class LoggerDownloadTest : public testing::MainWindowRig {
protected:
    // The search's pauses, the port switches and the silence after the last block pass ten
    // times faster; the emulator answers within them all the same.
    void SetUp() override { StartProgram(clock); }
    graph::TfrmGraph* DataLogger() const { return window->DataLoggerWindow(); }
    int ShownSets() const { return DataLogger()->DataSets().rowCount(); }
    QByteArray TempStore() const {
        QFile file(core::TempStorePath(home.path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Fault(const std::function<void(emulator::DownloadFaults&)>& change) {
        emulator::DownloadFaults faults;
        change(faults);
        meter->SetDownloadFaults(faults);
    }

    testing::FastClock clock{10};
};

TEST_F(LoggerDownloadTest, ADownloadFillsTheDataLoggerWindowAndTheTemporaryStore) {
    ASSERT_TRUE(meter->SetMemory(ThreeSets(false)));
    window->btnDataLoggerClick();
    ASSERT_NE(DataLogger(), nullptr);
    EXPECT_EQ(ShownSets(), 3);
    EXPECT_TRUE(window->DataLogger().Unsaved());
    EXPECT_EQ(TempStore(), QByteArray::fromStdString(emulator::DownloadedImage(meter->Memory())));
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_TRUE(window->Comm1().Active()) << "the live port comes back";
    EXPECT_FALSE(window->Comm2().Active());
    EXPECT_TRUE(window->MainTimer().isActive());

    // Saved as a collection and opened again: the same data sets.
    const core::TDataSetStore downloaded = window->DataLogger().Store();
    prompter.onDialog = [](QDialog& dialog) {
        return qobject_cast<ui::TfrmOpenSave*>(&dialog) ? int(ui::TfrmOpenSave::Collection)
                                                        : int(QDialog::Rejected);
    };
    prompter.saveFileName = InHome("memory.820");
    window->Save1Click();
    EXPECT_FALSE(window->DataLogger().Unsaved());
    QFile saved(InHome("memory.820"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), TempStore());

    prompter.openFileName = InHome("memory.820");
    window->btnOpenClick();
    EXPECT_EQ(window->DataLogger().Store(), downloaded);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(LoggerDownloadTest, ClosingAfterSavingTheSelectedSetInsteadOfTheCollectionCloses) {
    ASSERT_TRUE(meter->SetMemory(ThreeSets(false)));
    window->btnDataLoggerClick();
    ASSERT_NE(DataLogger(), nullptr);
    prompter.confirmAnswer = ui::Prompter::Answer::Yes;  // "Save DataLogger Data ?"
    prompter.onDialog = [](QDialog& dialog) {
        return qobject_cast<ui::TfrmOpenSave*>(&dialog) ? int(ui::TfrmOpenSave::SingleSet)
                                                        : int(QDialog::Rejected);
    };
    prompter.saveFileName = InHome("set1.ghf");
    DataLogger()->parentWidget()->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(QFile::exists(InHome("set1.ghf")));
    EXPECT_EQ(DataLogger(), nullptr);
    EXPECT_EQ(prompter.questions, QStringList{"Save DataLogger Data ?"});
}

TEST_F(LoggerDownloadTest, TheCommandIsRefusedWithoutAMeterOrWhileTheMeterLogs) {
    core::LiveReading logging;
    logging.Status = core::kStatusMeterLogging;
    window->Link().Readings().Publish(logging, 0);
    window->btnDataLoggerClick();
    EXPECT_EQ(
        prompter.messages,
        QStringList{"The meter is recording data, please stop recording before loading data."});
    window->State().Connected = false;
    window->btnDataLoggerClick();
    EXPECT_EQ(prompter.messages.last(), "There is no connection with Recorder !");
    EXPECT_EQ(DataLogger(), nullptr);
}

TEST_F(LoggerDownloadTest, AnEmptyMemorySaysSo) {
    Fault([](auto& faults) { faults.endAddress = 0xFFFF; });
    window->btnDataLoggerClick();
    EXPECT_EQ(prompter.messages, QStringList{"There is not any recorded data in memory!"});
    EXPECT_FALSE(window->DataLogger().Unsaved());
    EXPECT_TRUE(window->Comm1().Active());
}

TEST_F(LoggerDownloadTest, NoHeaderShowsTheErrorDialogAndTryAgainStartsAfresh) {
    ASSERT_TRUE(meter->SetMemory(ThreeSets(false)));
    Fault([](auto& faults) { faults.noHeaderReply = true; });
    QStringList texts;
    std::vector<bool> fixShown;
    prompter.onDialog = [&](QDialog& dialog) {
        auto* error = qobject_cast<TfrmErr*>(&dialog);
        if (!error) return int(QDialog::Rejected);
        EXPECT_EQ(error->windowTitle(), "Error Message");
        texts << error->Message();
        fixShown.push_back(error->OffersFix());
        meter->SetDownloadFaults({});  // the meter answers from now on
        return int(TfrmErr::Retry);
    };
    window->btnDataLoggerClick();
    EXPECT_EQ(texts, QStringList{"There was error when reading data from meter"});
    EXPECT_EQ(fixShown, std::vector<bool>{false});
    EXPECT_EQ(ShownSets(), 3) << "the second attempt, header included, succeeded";
}

TEST_F(LoggerDownloadTest, FixingTheErrorShowsTheSetsBeforeTheDamagedOneAndKeepsEveryByte) {
    ASSERT_TRUE(meter->SetMemory(ThreeSets(true)));
    prompter.onDialog = [&](QDialog& dialog) {
        auto* error = qobject_cast<TfrmErr*>(&dialog);
        if (!error) return int(QDialog::Rejected);
        EXPECT_EQ(error->Message(),
                  "Data error ! Choose Try Again to reload or Fix Error to delete the error data "
                  "set.");
        EXPECT_FALSE(!error->OffersFix());
        return int(TfrmErr::FixError);
    };
    window->btnDataLoggerClick();
    EXPECT_EQ(prompter.dialogsShown, 1);
    EXPECT_EQ(ShownSets(), 2);
    EXPECT_EQ(prompter.messages, QStringList{"2 data sets before the damaged one were recovered."});
    const QByteArray delivered =
        QByteArray::fromStdString(emulator::DownloadedImage(meter->Memory()));
    EXPECT_EQ(TempStore(), delivered);

    // The collection keeps the damaged image whole; opening it offers the same recovery.
    prompter.onDialog = [](QDialog& dialog) {
        return qobject_cast<ui::TfrmOpenSave*>(&dialog) ? int(ui::TfrmOpenSave::Collection)
                                                        : int(QDialog::Rejected);
    };
    prompter.saveFileName = InHome("damaged.820");
    window->Save1Click();
    QFile saved(InHome("damaged.820"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), delivered);

    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    prompter.openFileName = InHome("damaged.820");
    window->btnOpenClick();
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(ShownSets(), 2);
}

TEST_F(LoggerDownloadTest, CancelLeavesTheWindowAsItWas) {
    ASSERT_TRUE(meter->SetMemory(ThreeSets(false)));
    window->btnDataLoggerClick();
    ASSERT_EQ(ShownSets(), 3);
    ASSERT_TRUE(meter->SetMemory(ThreeSets(true)));
    prompter.confirmAnswer = ui::Prompter::Answer::No;  // "Save DataLogger Data ?"
    prompter.onDialog = [](QDialog& dialog) {
        return qobject_cast<TfrmErr*>(&dialog) ? int(TfrmErr::Cancel) : int(QDialog::Rejected);
    };
    window->btnDataLoggerClick();
    EXPECT_EQ(prompter.dialogsShown, 1) << "the error dialog";
    EXPECT_EQ(ShownSets(), 3);
    EXPECT_TRUE(window->DataLogger().Unsaved()) << "the first download is still shown";
}

TEST_F(LoggerDownloadTest, LoadDataOrOpenOverAnUnsavedDownloadAsksFirstAndCancelChangesNothing) {
    ASSERT_TRUE(meter->SetMemory(ThreeSets(false)));
    window->btnDataLoggerClick();
    ASSERT_EQ(ShownSets(), 3);
    const core::TDataSetStore first = window->DataLogger().Store();
    const QByteArray firstChart = DataLogger()->Chart().SaveToBlock();
    const QByteArray firstStored = TempStore();
    ASSERT_FALSE(firstStored.isEmpty());
    // The meter has recorded something else since, and a collection lies on the disk.
    std::vector<emulator::DataSet> otherSets(2);
    for (emulator::DataSet& set : otherSets) {
        set.start = {2027, 1, 2, 10, 0, 0};
        set.pairs = {{300, 310}, {301, 311}};
    }
    const std::string other = emulator::BuildMemoryImage(otherSets);
    ASSERT_TRUE(meter->SetMemory(other));
    QFile collection(InHome("other.820"));
    ASSERT_TRUE(collection.open(QIODevice::WriteOnly));
    collection.write(QByteArray::fromStdString(emulator::DownloadedImage(other)));
    collection.close();

    const auto unchanged = [&] {
        EXPECT_EQ(window->DataLogger().Store(), first);
        EXPECT_EQ(ShownSets(), 3);
        EXPECT_EQ(DataLogger()->Chart().SaveToBlock(), firstChart);
        EXPECT_EQ(TempStore(), firstStored);
        EXPECT_TRUE(window->DataLogger().Unsaved());
    };
    prompter.confirmAnswer = ui::Prompter::Answer::Cancel;
    window->btnDataLoggerClick();
    EXPECT_EQ(prompter.questions, QStringList{"Save DataLogger Data ?"});
    unchanged();

    prompter.onDialog = [](QDialog& dialog) {
        return qobject_cast<ui::TfrmOpenSave*>(&dialog) ? int(ui::TfrmOpenSave::Collection)
                                                        : int(QDialog::Rejected);
    };
    prompter.openFileName = InHome("other.820");
    window->btnOpenClick();
    EXPECT_EQ(prompter.questions.size(), 2);
    unchanged();

    // Yes saves the shown download first (inside the command), then the new one replaces it.
    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    prompter.saveFileName = InHome("first.820");
    window->btnDataLoggerClick();
    QFile saved(InHome("first.820"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), firstStored);
    EXPECT_EQ(ShownSets(), 2);
    EXPECT_EQ(TempStore(), QByteArray::fromStdString(emulator::DownloadedImage(other)));
    EXPECT_TRUE(window->DataLogger().Unsaved()) << "the new download is not saved yet";

    // No gives it up for the collection, which is a file already: nothing is left to ask.
    prompter.confirmAnswer = ui::Prompter::Answer::No;
    prompter.questions.clear();
    window->btnOpenClick();
    EXPECT_EQ(prompter.questions, QStringList{"Save DataLogger Data ?"});
    EXPECT_EQ(ShownSets(), 2);
    EXPECT_FALSE(window->DataLogger().Unsaved());
    window->btnDataLoggerClick();
    EXPECT_EQ(prompter.questions.size(), 1) << "a shown collection asks nothing";
}

}  // namespace
}  // namespace kr820::meter
