// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

#include "app/frm_main.h"
#include "fake_prompter.h"
#include "fast_clock.h"
#include "link/clock.h"
#include "running_emulator.h"

namespace kr820::testing {

// The program's main window started headless against an emulated meter behind a symlink, with
// a program folder of its own; its exchanges run on `clock`, by default ten times faster than
// the wall clock, so that the search's and the ports' rests cost a tenth of their time.
class MainWindowRig : public ::testing::Test {
protected:
    void StartProgram() { StartProgram(fastClock); }
    void StartProgram(link::Clock& clock) {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        meter = StartEmulator();
        std::string error;
        ASSERT_TRUE(meter->MakeSymlink(device.toStdString(), &error)) << error;
        window = std::make_unique<app::TfrmMain>(
            prompter, [this](QStringList& list) { list << device; }, clock);
        QSignalSpy finished(window.get(), &app::TfrmMain::startupFinished);
        window->show();
        ASSERT_TRUE(finished.wait(10000));
        ASSERT_TRUE(window->State().Connected);
    }
    void TearDown() override {
        window.reset();
        qunsetenv("KR820_HOME");
    }
    QString InHome(const QString& name) const { return home.filePath(name); }

    FastClock fastClock{10};
    QTemporaryDir home;
    QString device = home.filePath("meter");
    std::unique_ptr<emulator::MeterEmulator> meter;
    FakePrompter prompter;
    std::unique_ptr<app::TfrmMain> window;
};

}  // namespace kr820::testing
