// SPDX-License-Identifier: MIT
// A meter behind a device server typed into the device box: connected, and the device the
// program starts on next time.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "graph/data_set_grid_model.h"
#include "graph/frm_graph.h"
#include "main_window_rig.h"
#include "running_ser2net.h"

namespace kr820::app {
namespace {

using testing::RunningSer2net;

class NetworkDeviceBoxTest : public testing::MainWindowRig {
protected:
    // The meter on this desk goes away; the one behind `server` is typed into the device box.
    void TypeInstead(const RunningSer2net& server) {
        meter->Unplug();
        ASSERT_TRUE(testing::ProcessEventsUntil(
            [&] { return window->StatusPanelText(1) == "Off Connection"; }, 20000));
        QLineEdit* edit = window->ComboBoxDeviceName()->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, server.Url());
        QTest::keyClick(edit, Qt::Key_Return);
    }
};

TEST_F(NetworkDeviceBoxTest, ATypedRfc2217DeviceConnectsAndIsRememberedForTheNextStart) {
    KR820_SKIP_WITHOUT("ser2net");
    StartProgram();
    if (HasFatalFailure()) return;
    auto remote = testing::StartEmulator();
    RunningSer2net server(RunningSer2net::Accepter::Rfc2217, testing::PathOf(*remote));
    ASSERT_TRUE(server.Start());
    TypeInstead(server);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(window->Comm1().DeviceName(), server.Url());
    EXPECT_TRUE(testing::ProcessEventsUntil(
        [&] {
            return window->StatusPanelText(0) == server.Url() &&
                   window->StatusPanelText(1) == "On Connection";
        },
        20000));

    window->close();
    window.reset();
    window = std::make_unique<app::TfrmMain>(
        prompter, [this](QStringList& list) { list << device; }, fastClock);
    QSignalSpy finished(window.get(), &app::TfrmMain::startupFinished);
    window->show();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(window->State().Connected);
    EXPECT_EQ(window->Comm1().DeviceName(), server.Url()) << "tried first, as a listed port";
    EXPECT_EQ(window->StatusPanelText(1), "On Connection");
}

// The download leaves the live connection for one of its own: the server is free for it at once,
// and the live readings come back on it after.
TEST_F(NetworkDeviceBoxTest, TheDesktopDownloadsThroughTheServerAndComesBackToLiveReadings) {
    KR820_SKIP_WITHOUT("ser2net");
    StartProgram();
    if (HasFatalFailure()) return;
    auto remote = testing::StartEmulator();
    RunningSer2net server(RunningSer2net::Accepter::Rfc2217, testing::PathOf(*remote));
    ASSERT_TRUE(server.Start());
    TypeInstead(server);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(testing::ProcessEventsUntil(
        [&] { return window->StatusPanelText(1) == "On Connection"; }, 20000));

    // Clicked from the event loop, as a user clicks: what the program deletes later is deleted
    // only once the click has been handled.
    QEventLoop clicked;
    QTimer::singleShot(0, &clicked, [&] {
        window->btnDataLoggerClick();
        clicked.quit();
    });
    clicked.exec();
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(u'|').toStdString();
    ASSERT_NE(window->DataLoggerWindow(), nullptr);
    EXPECT_GT(window->DataLoggerWindow()->DataSets().rowCount(), 0);
    EXPECT_TRUE(window->Comm1().Active()) << "the live connection comes back";
    EXPECT_TRUE(testing::ProcessEventsUntil(
        [&] { return window->StatusPanelText(1) == "On Connection"; }, 20000));
}

}  // namespace
}  // namespace kr820::app
