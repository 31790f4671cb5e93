// SPDX-License-Identifier: MIT
// A 1366x768 screen at 200 % (QT_SCALE_FACTOR=2 on an offscreen screen of 1366x768 pixels; see
// tests/CMakeLists.txt): every dialog and the windows of a first start fit the room there is,
// with every control within reach.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>

#include "app/frm_main.h"
#include "every_dialog.h"
#include "fast_clock.h"
#include "graph/chart_view.h"
#include "graph/frm_graph.h"

namespace kr820::testing {
namespace {

// What a window manager takes around a window: a title bar and a frame.
constexpr QSize kTitleAndFrame(16, 40);

class SmallScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        const QScreen* screen = QGuiApplication::primaryScreen();
        ASSERT_NE(screen, nullptr);
        room = screen->availableGeometry();
        // The scale this test is about: 1366x768 pixels are 683x384 at 200 %.
        ASSERT_EQ(room.size(), QSize(683, 384)) << "run with the screen of tests/CMakeLists.txt";
    }
    void TearDown() override { qunsetenv("KR820_HOME"); }

    QTemporaryDir home;
    QRect room;
};

TEST_F(SmallScreenTest, EveryDialogFitsTheScreenWithItsButtonsInView) {
    FakePrompter prompter;
    core::ChartModel chart;
    for (const auto& dialog : EveryDialog(prompter, chart)) {
        dialog->show();
        QCoreApplication::processEvents();
        const std::string name = dialog->objectName().toStdString();
        EXPECT_LE(dialog->width() + kTitleAndFrame.width(), room.width())
            << name << " " << dialog->width();
        EXPECT_LE(dialog->height() + kTitleAndFrame.height(), room.height())
            << name << " " << dialog->height();
        // The buttons that end it are never scrolled away.
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            const QString text = button->text().remove(u'&');
            if (!QStringList{"OK", "Cancel", "SAVE", "Exit Without Saving", "Start"}.contains(text))
                continue;
            if (!button->isVisible()) continue;
            auto* inside =
                qobject_cast<QScrollArea*>(dialog->findChild<QScrollArea*>("scrollFields"));
            EXPECT_FALSE(inside && inside->isAncestorOf(button))
                << name << ": " << text.toStdString();
        }
        dialog->hide();
    }
}

TEST_F(SmallScreenTest, AFirstStartFitsTheWorkspace) {
    FastClock fastClock{10};
    FakePrompter prompter;
    app::TfrmMain window(
        prompter, [](QStringList&) {}, fastClock);
    QSignalSpy finished(&window, &app::TfrmMain::startupFinished);
    window.ShowAtStart();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_LE(window.frameGeometry().width(), room.width());
    EXPECT_LE(window.frameGeometry().height(), room.height());
    graph::TfrmGraph* graph = window.RealTimeGraphWindow();
    ASSERT_NE(graph, nullptr);
    const QRect workspace(QPoint(0, 0), window.Workspace()->viewport()->size());
    EXPECT_TRUE(workspace.contains(graph->parentWidget()->geometry()))
        << graph->parentWidget()->width() << "x" << graph->parentWidget()->height() << " in "
        << workspace.width() << "x" << workspace.height();

    // Tile: no chart squeezed to a strip, no title bar hidden under another window.
    for (int i = 0; i < 3; ++i) window.CreateFileWindow(QStringLiteral("file %1").arg(i));
    window.Tile1Click();
    QCoreApplication::processEvents();
    const QList<QMdiSubWindow*> frames = window.Workspace()->subWindowList(QMdiArea::CreationOrder);
    const int titleHeight =
        window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frames[0]);
    for (qsizetype i = 0; i < frames.size(); ++i) {
        auto* shown = qobject_cast<graph::TfrmGraph*>(frames[i]->widget());
        ASSERT_NE(shown, nullptr);
        // A chart a reading can be told on (100 pixels at 200 %), not a strip of 40.
        EXPECT_GE(shown->View().height(), 50) << shown->windowTitle().toStdString();
        const QRect title(frames[i]->geometry().topLeft(), QSize(frames[i]->width(), titleHeight));
        for (qsizetype later = i + 1; later < frames.size(); ++later)
            EXPECT_FALSE(frames[later]->geometry().intersects(title))
                << frames[later]->widget()->windowTitle().toStdString() << " over "
                << shown->windowTitle().toStdString();
    }
}

}  // namespace
}  // namespace kr820::testing
