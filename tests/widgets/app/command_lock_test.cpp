// SPDX-License-Identifier: MIT
// One operation at a time: commands that arrive while the meter search, a port switch or a file
// write runs (through the events those waits process) are dropped, and a window being written
// stays open until its file is whole.
#include "app/command_lock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

#include "graph/frm_graph.h"
#include "logger_memory_builder.h"
#include "main_window_rig.h"
#include "ui/frm_open_save.h"

namespace kr820::app {
namespace {

// What the program looked like when a command arrived in the middle of something else.
struct LateCommand {
    bool arrived = false;
    bool locked = false;
    bool menuEnabled = true;
};

class CommandLockTest : public testing::MainWindowRig {
protected:
    // Presses Load Data from the event loop after `delayMs`, noting what it found.
    void PressLoadDataAfter(int delayMs) {
        QTimer::singleShot(delayMs, window.get(), [this] {
            late.arrived = true;
            late.locked = window->CommandsLocked();
            late.menuEnabled = window->menuBar()->isEnabled();
            window->btnDataLoggerClick();
        });
    }
    void ExpectLoadDataDropped() {
        EXPECT_TRUE(late.arrived);
        EXPECT_TRUE(late.locked);
        EXPECT_FALSE(late.menuEnabled);
        EXPECT_EQ(window->DataLoggerWindow(), nullptr) << "no download started";
        EXPECT_TRUE(prompter.messages.isEmpty());
        EXPECT_FALSE(window->CommandsLocked());
        EXPECT_TRUE(window->menuBar()->isEnabled());
    }

    LateCommand late;
};

TEST_F(CommandLockTest, LoadDataDuringTheStartUpSearchIsDropped) {
    ASSERT_TRUE(home.isValid());
    qputenv("KR820_HOME", home.path().toLocal8Bit());
    meter = testing::StartEmulator();
    std::string error;
    ASSERT_TRUE(meter->MakeSymlink(device.toStdString(), &error)) << error;
    // The steady clock: the press must come inside the search's real rests.
    window = std::make_unique<TfrmMain>(prompter, [this](QStringList& list) { list << device; });
    QSignalSpy finished(window.get(), &TfrmMain::startupFinished);
    window->show();
    PressLoadDataAfter(100);  // the search waits 300 ms before its first query
    ASSERT_TRUE(finished.wait(10000));

    ExpectLoadDataDropped();
    EXPECT_TRUE(window->State().Connected) << "the search was not disturbed";
}

TEST_F(CommandLockTest, LoadDataDuringAPortSwitchIsDropped) {
    StartProgram(link::SteadyClock::Shared());  // the press must come inside the real rest
    PressLoadDataAfter(50);
    window->findChild<QAction*>("N96001")->trigger();  // reopens the port, waiting 500 ms
    ExpectLoadDataDropped();
}

TEST_F(CommandLockTest, AWindowBeingWrittenStaysOpenUntilItsFileIsWhole) {
    StartProgram();
    emulator::DataSet set;
    set.start = {2026, 12, 7, 9, 0, 0};
    for (int p = 0; p < 50; ++p) set.pairs.push_back({std::int16_t(200 + p), std::int16_t(-p)});
    graph::TfrmGraph* logger = window->ShowDataLoggerWindow();
    ASSERT_EQ(
        logger->ShowMemoryImage(QByteArray::fromStdString(emulator::BuildMemoryImage({set}))).Code,
        core::ParseCode::Success);
    window->Workspace()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(logger->parentWidget()));
    prompter.onDialog = [](QDialog& dialog) {
        return qobject_cast<ui::TfrmOpenSave*>(&dialog) ? int(ui::TfrmOpenSave::SingleSet)
                                                        : int(QDialog::Accepted);
    };
    prompter.saveFileName = InHome("set.txt");

    QPointer<graph::TfrmGraph> written = logger;
    bool closeTried = false;
    QTimer::singleShot(0, logger, [&] {
        closeTried = true;
        EXPECT_FALSE(logger->close());
    });
    window->Save1Click();

    EXPECT_TRUE(closeTried) << "the close came while the file was being written";
    ASSERT_FALSE(written.isNull());
    EXPECT_TRUE(written->isVisible());
    QFile file(InHome("set.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("\r\n"), 50);
    EXPECT_TRUE(written->close()) << "once written, the window closes as before";
}

}  // namespace
}  // namespace kr820::app
