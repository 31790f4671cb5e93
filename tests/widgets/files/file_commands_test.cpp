// SPDX-License-Identifier: MIT
// The Open and Save commands through the main window: single data set files written from a graph
// window and read into a new one, and the collection's refusals.
#include "app/file_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <cerrno>

#include "app/frm_main.h"
#include "app/spreadsheet_export.h"
#include "core/chart/chart_model.h"
#include "fake_prompter.h"
#include "fast_clock.h"
#include "graph/chart_view.h"
#include "graph/frm_graph.h"
#include "logger_memory_builder.h"
#include "ui/frm_open_save.h"
#include "ui/frm_scope.h"
#include "unit/files/file_test_support.h"

namespace kr820::app {
namespace {

QByteArray OneSetImage() {
    emulator::DataSet set;
    set.start = {2026, 12, 7, 9, 0, 0};
    for (int p = 0; p < 12; ++p)
        set.pairs.push_back({static_cast<std::int16_t>(250 + p), static_cast<std::int16_t>(-p)});
    set.pairs[5].t2TenthsC = emulator::kOverRangeTenthsC;
    return QByteArray::fromStdString(emulator::BuildMemoryImage({set}));
}

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        window = std::make_unique<TfrmMain>(
            prompter, [](QStringList&) {}, fastClock);
        QSignalSpy finished(window.get(), &TfrmMain::startupFinished);
        window->show();
        ASSERT_TRUE(finished.wait(10000));
    }
    void TearDown() override {
        window.reset();
        qunsetenv("KR820_HOME");
    }
    graph::TfrmGraph* ShowLoggerImage(const QByteArray& image) {
        graph::TfrmGraph* logger = window->ShowDataLoggerWindow();
        EXPECT_EQ(logger->ShowMemoryImage(image).Code, core::ParseCode::Success);
        window->Workspace()->setActiveSubWindow(
            qobject_cast<QMdiSubWindow*>(logger->parentWidget()));
        return logger;
    }
    // Answers the choice with `choice` and the range dialog with All, or with from/to.
    void Answer(int choice, QString from = {}, QString to = {}) {
        prompter.onDialog = [=](QDialog& dialog) {
            if (qobject_cast<ui::TfrmOpenSave*>(&dialog)) return choice;
            if (auto* scope = qobject_cast<ui::TfrmScope*>(&dialog)) {
                if (!from.isNull()) {
                    scope->findChild<QRadioButton*>("radNo")->setChecked(true);
                    scope->findChild<QLineEdit*>("edtSelFrom")->setText(from);
                    scope->findChild<QLineEdit*>("edtSelTo")->setText(to);
                }
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        };
    }
    graph::TfrmGraph* NewestWindow() const {
        const auto windows = window->Workspace()->subWindowList(QMdiArea::CreationOrder);
        return qobject_cast<graph::TfrmGraph*>(windows.last()->widget());
    }

    // A cross placed at the middle of the window's plot, as the user places one.
    static void PlaceCross(graph::TfrmGraph& window) {
        window.findChild<QCheckBox*>("chkSplit")->click();  // marks go on the joined chart
        window.findChild<QToolButton*>("crossTool")->click();
        graph::ChartView& view = window.View();
        view.Flush();
        const QPoint at = view.Drawing().PlottingRect().center() - QPoint(40, 40);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(&view, &event);
        }
        view.Flush();
    }
    static int Crosses(graph::TfrmGraph& window) {
        int crosses = 0;
        for (const core::GraphAnnotation& a : window.Chart().Annotations().GraphAnnotations())
            crosses += a.Type == core::kAnnotationCross ? 1 : 0;
        return crosses;
    }
    static bool Close(graph::TfrmGraph& window) {
        const bool closed = window.parentWidget()->close();
        QCoreApplication::processEvents();
        return closed;
    }

    testing::FastClock fastClock{10};  // the start-up's rests
    QTemporaryDir home;
    testing::FakePrompter prompter;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(FileCommandsTest, ASetSavedAsTextOpensAgainWithTheSameValues) {
    graph::TfrmGraph* logger = ShowLoggerImage(OneSetImage());
    Answer(ui::TfrmOpenSave::SingleSet);
    prompter.saveFileName = home.filePath("set.txt");
    window->Save1Click();
    ASSERT_TRUE(QFile::exists(home.filePath("set.txt")));

    prompter.openFileName = home.filePath("set.txt");
    window->btnOpenClick();
    graph::TfrmGraph* opened = NewestWindow();
    ASSERT_NE(opened, logger);
    EXPECT_EQ(opened->windowTitle(), home.filePath("set.txt"));
    const core::ChartData& saved = logger->Chart().Data();
    const core::ChartData& read = opened->Chart().Data();
    ASSERT_EQ(read.Points(), 12);
    for (int p = 0; p < 12; ++p) {
        EXPECT_DOUBLE_EQ(read.XDataII(0, p), saved.XDataII(0, p)) << p;
        EXPECT_FLOAT_EQ(read.YData(0, p), saved.YData(0, p)) << p;
        EXPECT_FLOAT_EQ(read.YData(1, p), p == 5 ? 9999.0f : saved.YData(1, p)) << p;
    }
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(FileCommandsTest, ASelectedRangeWritesThosePointsAndBadNumbersWriteNothing) {
    ShowLoggerImage(OneSetImage());
    Answer(ui::TfrmOpenSave::SingleSet, "10", "5");
    prompter.saveFileName = home.filePath("range.txt");
    window->Save1Click();
    QFile range(home.filePath("range.txt"));
    ASSERT_TRUE(range.open(QIODevice::ReadOnly));
    EXPECT_EQ(range.readAll().count("\r\n"), 6);

    Answer(ui::TfrmOpenSave::SingleSet, "x", "5");
    prompter.saveFileName = home.filePath("bad.txt");
    window->Save1Click();
    EXPECT_EQ(prompter.messages, QStringList{"invalid integer"});
    EXPECT_FALSE(QFile::exists(home.filePath("bad.txt")));
}

TEST_F(FileCommandsTest, AGraphFileKeepsTheWholeChart) {
    graph::TfrmGraph* logger = ShowLoggerImage(OneSetImage());
    Answer(ui::TfrmOpenSave::SingleSet);
    prompter.saveFileName = home.filePath("chart");  // the chosen kind adds ".GHF"
    window->Save1Click();
    ASSERT_TRUE(QFile::exists(home.filePath("chart.GHF")));
    prompter.openFileName = home.filePath("chart.GHF");
    window->btnOpenClick();
    EXPECT_EQ(NewestWindow()->Chart().SaveToBlock(), logger->Chart().SaveToBlock());
}

TEST_F(FileCommandsTest, MarksChangedOnAGraphFileAreAskedAboutOnClosingAndSavedOnYes) {
    ShowLoggerImage(OneSetImage());
    Answer(ui::TfrmOpenSave::SingleSet);
    const QString path = home.filePath("oven.ghf");
    prompter.saveFileName = path;
    window->Save1Click();
    prompter.openFileName = path;
    window->btnOpenClick();
    graph::TfrmGraph* opened = NewestWindow();
    ASSERT_EQ(opened->windowTitle(), path);
    EXPECT_TRUE(Close(*opened)) << "nothing changed, nothing to ask";
    EXPECT_TRUE(prompter.questions.isEmpty());

    window->btnOpenClick();
    opened = NewestWindow();
    PlaceCross(*opened);
    ASSERT_EQ(Crosses(*opened), 1);
    const QString question = "Save \"" + path + "\" ?";
    prompter.confirmAnswer = ui::Prompter::Answer::Cancel;
    ASSERT_FALSE(Close(*opened));
    EXPECT_EQ(prompter.questions, QStringList{question});
    // Yes with the save dialog cancelled keeps the window and its mark.
    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    prompter.saveFileName.clear();
    EXPECT_FALSE(Close(*opened));
    prompter.saveFileName = path;
    EXPECT_TRUE(Close(*opened));
    EXPECT_EQ(prompter.questions.size(), 3);

    window->btnOpenClick();
    opened = NewestWindow();
    EXPECT_EQ(Crosses(*opened), 1) << "the graph file holds the mark";
    // A mark deleted (double-clicked) is a change as well.
    opened->ChartAnnotationHotSpot(true, 4);
    EXPECT_EQ(Crosses(*opened), 0);
    prompter.confirmAnswer = ui::Prompter::Answer::No;
    EXPECT_TRUE(Close(*opened));
    EXPECT_EQ(prompter.questions.size(), 4);
    window->btnOpenClick();
    EXPECT_EQ(Crosses(*NewestWindow()), 1) << "No left the file as it was";
}

TEST_F(FileCommandsTest, SavingACollectionWithNothingDecodedSaysSo) {
    window->ShowDataLoggerWindow();
    Answer(ui::TfrmOpenSave::Collection);
    prompter.saveFileName = home.filePath("empty.820");
    window->Save1Click();
    EXPECT_EQ(prompter.messages, QStringList{"There is no downloaded data to save."});
    EXPECT_FALSE(QFile::exists(home.filePath("empty.820")));
}

TEST_F(FileCommandsTest, ASaveThatCannotBeWrittenWholeKeepsTheEarlierFileAndSaysWhy) {
    ShowLoggerImage(OneSetImage());
    window->DataLogger().MarkUnsaved();
    core::testing::WriteWhole(home.filePath("kept.820"), "earlier");
    Answer(ui::TfrmOpenSave::Collection);
    prompter.saveFileName = home.filePath("kept.820");
    {
        const core::testing::FileSizeLimit limit(64);
        window->Save1Click();
    }
    EXPECT_EQ(prompter.messages, QStringList{"The file \"" + home.filePath("kept.820") +
                                             "\" was not saved: " + qt_error_string(EFBIG) +
                                             ". Any earlier file of that name is unchanged."});
    EXPECT_EQ(core::testing::ReadWhole(home.filePath("kept.820")), "earlier");
    EXPECT_TRUE(window->DataLogger().Unsaved()) << "closing must still ask";
}

TEST_F(FileCommandsTest, ADamagedCollectionIsRefusedAndChangesNothing) {
    ShowLoggerImage(OneSetImage());
    const core::TDataSetStore before = window->DataLogger().Store();
    QByteArray damaged = OneSetImage();
    damaged[256] = 0;
    damaged[257] = 0;
    QFile file(home.filePath("damaged.820"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(damaged);
    file.close();

    Answer(ui::TfrmOpenSave::Collection);
    prompter.openFileName = home.filePath("damaged.820");
    window->btnOpenClick();
    EXPECT_EQ(prompter.messages, QStringList{"The file \"" + home.filePath("damaged.820") +
                                             "\" is not a data set collection that can be read."});
    EXPECT_TRUE(prompter.questions.isEmpty()) << "no set before the damaged one to offer";
    EXPECT_EQ(window->DataLogger().Store(), before);
}

TEST_F(FileCommandsTest, TextThatIsNoDataIsRefusedWithoutAWindow) {
    const QString path = home.filePath("passwd.txt");
    core::testing::WriteWhole(path, "root:x:0:0:root:/root:/bin/bash\nbin:x:2:2:bin:/bin\n");
    const qsizetype windows = window->Workspace()->subWindowList().size();
    Answer(ui::TfrmOpenSave::SingleSet);
    prompter.openFileName = path;
    window->btnOpenClick();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains("\"" + path + "\""))
        << prompter.messages[0].toStdString();
    EXPECT_TRUE(prompter.messages[0].contains("line 1, \"root:x:0:0:root:/root:/bin/bash\""))
        << prompter.messages[0].toStdString();
    EXPECT_EQ(window->Workspace()->subWindowList().size(), windows);
}

TEST_F(FileCommandsTest, ASpreadsheetExportOpensAndExportsTheSameBytes) {
    graph::TfrmGraph* logger = ShowLoggerImage(OneSetImage());
    prompter.saveFileName = home.filePath("set.csv");
    ASSERT_TRUE(ExportForSpreadsheets(logger, prompter, window.get()));
    const QByteArray exported = core::testing::ReadWhole(home.filePath("set.csv"));
    ASSERT_TRUE(exported.endsWith(",C\r\n"));

    Answer(ui::TfrmOpenSave::SingleSet);
    prompter.openFileName = home.filePath("set.csv");
    window->btnOpenClick();
    graph::TfrmGraph* opened = NewestWindow();
    ASSERT_NE(opened, logger);
    EXPECT_EQ(opened->Chart().Data().Points(), 12);
    prompter.saveFileName = home.filePath("again.csv");
    ASSERT_TRUE(ExportForSpreadsheets(opened, prompter, window.get()));
    EXPECT_EQ(core::testing::ReadWhole(home.filePath("again.csv")), exported);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('\n').toStdString();
}

TEST_F(FileCommandsTest, CancellingTheOpenOfACollectionLeavesNoEmptyWindow) {
    ASSERT_EQ(window->DataLoggerWindow(), nullptr);
    Answer(ui::TfrmOpenSave::Collection);
    prompter.openFileName.clear();  // the file dialog cancelled
    window->btnOpenClick();
    EXPECT_EQ(window->DataLoggerWindow(), nullptr);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

}  // namespace
}  // namespace kr820::app
