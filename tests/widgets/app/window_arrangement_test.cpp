// SPDX-License-Identifier: MIT
// Window > Tile and Window > Cascade keep every window inside the workspace and the main window
// at its size, and the LCD window sits at the workspace's bottom-left.
#include "app/window_arrangement.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/frm_main.h"
#include "fake_prompter.h"
#include "fast_clock.h"
#include "lcd/frm_lcd.h"

namespace kr820::app {
namespace {

void ExpectInsideAndAtLeast(const std::vector<QRect>& places, QSize area, QSize minimum) {
    for (const QRect& place : places) {
        EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(place)) << place.x() << "," << place.y();
        EXPECT_GE(place.width(), std::min(minimum.width(), area.width()));
        EXPECT_GE(place.height(), std::min(minimum.height(), area.height()));
    }
}

// No window covers the title bar of one placed before it: its buttons stay in reach.
void ExpectEveryTitleBarInView(const std::vector<QRect>& places, int titleHeight) {
    for (size_t i = 0; i < places.size(); ++i) {
        const QRect title(places[i].topLeft(), QSize(places[i].width(), titleHeight));
        for (size_t later = i + 1; later < places.size(); ++later)
            EXPECT_FALSE(places[later].intersects(title)) << i << " under " << later;
    }
}

TEST(WindowArrangement, TilesFillTheAreaWhenTheMinimumFits) {
    const auto two = TiledPlaces({1280, 700}, 2, {400, 300}, 24);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], QRect(0, 0, 640, 700));
    EXPECT_EQ(two[1], QRect(640, 0, 640, 700));

    // Five: two rows of three columns, the last row's two windows sharing its width.
    const auto five = TiledPlaces({1200, 800}, 5, {100, 100}, 24);
    ASSERT_EQ(five.size(), 5u);
    EXPECT_EQ(five[2], QRect(800, 0, 400, 400));
    EXPECT_EQ(five[3], QRect(0, 400, 600, 400));
    EXPECT_EQ(five[4], QRect(600, 400, 600, 400));
}

TEST(WindowArrangement, WindowsLargerThanTheirShareOverlapInsideTheArea) {
    const QSize area(1280, 700);
    for (int count = 1; count <= 7; ++count) {
        ExpectInsideAndAtLeast(TiledPlaces(area, count, {900, 450}, 24), area, {900, 450});
        ExpectInsideAndAtLeast(CascadedPlaces(area, count, {900, 450}, 24), area, {900, 450});
    }
    // A minimum beyond the area itself: the title bars stay in view before all.
    const auto beyond = TiledPlaces({600, 400}, 3, {900, 450}, 24);
    ExpectInsideAndAtLeast(beyond, {600, 400}, {552, 352});
    ExpectEveryTitleBarInView(beyond, 24);
}

TEST(WindowArrangement, TilesThatCannotHoldTheirMinimumSideBySideKeepTheTitleBarsInView) {
    // Three graph windows at 200 % in a 1366x768 screen's workspace.
    const QSize area(1366, 560);
    const auto three = TiledPlaces(area, 3, {700, 420}, 24);
    ExpectInsideAndAtLeast(three, area, {700, 420});
    ExpectEveryTitleBarInView(three, 24);
    // Fewer columns where that holds the minimum: two windows one above the other.
    const auto two = TiledPlaces({1366, 900}, 2, {700, 420}, 24);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], QRect(0, 0, 1366, 450));
    EXPECT_EQ(two[1], QRect(0, 450, 1366, 450));
}

TEST(WindowArrangement, CascadeStepsDownAndRight) {
    const auto places = CascadedPlaces({1000, 700}, 3, {300, 200}, 30);
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0].topLeft(), QPoint(0, 0));
    EXPECT_EQ(places[1].topLeft(), QPoint(30, 30));
    EXPECT_EQ(places[2].bottomRight(), QPoint(999, 699));
}

class ArrangedWorkspace : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        window = std::make_unique<TfrmMain>(
            prompter, [](QStringList&) {}, fastClock);
        QSignalSpy finished(window.get(), &TfrmMain::startupFinished);
        window->resize(1280, 760);
        window->show();
        ASSERT_TRUE(finished.wait(10000));
    }
    void TearDown() override {
        window.reset();
        qunsetenv("KR820_HOME");
    }
    void ExpectEveryWindowInside() {
        const QRect area(QPoint(0, 0), window->Workspace()->viewport()->size());
        for (QMdiSubWindow* child : window->Workspace()->subWindowList())
            EXPECT_TRUE(area.contains(child->geometry())) << child->windowTitle().toStdString();
    }

    testing::FastClock fastClock{10};  // the start-up's rests
    QTemporaryDir home;
    testing::FakePrompter prompter;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(ArrangedWorkspace, TileAndCascadeOfFiveWindowsKeepTheMainWindowsSize) {
    for (int i = 0; i < 4; ++i) window->CreateFileWindow(QStringLiteral("file %1").arg(i));
    ASSERT_EQ(window->Workspace()->subWindowList().size(), 5);
    const QSize before = window->size();

    window->Tile1Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), before);
    ExpectEveryWindowInside();

    window->Cascade1Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), before);
    ExpectEveryWindowInside();
}

TEST_F(ArrangedWorkspace, CtrlF4ClosesTheActiveWindow) {
    window->CreateFileWindow(QStringLiteral("first"));
    window->CreateFileWindow(QStringLiteral("second"));
    QMdiArea* workspace = window->Workspace();
    const qsizetype before = workspace->subWindowList().size();
    QMdiSubWindow* active = workspace->activeSubWindow();
    ASSERT_NE(active, nullptr);
    const QString closed = active->widget()->windowTitle();
    auto* item = window->findChild<QAction*>("CloseWindow1");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_F4, Qt::ControlModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(workspace->subWindowList().size(), before - 1);
    for (QMdiSubWindow* left : workspace->subWindowList())
        EXPECT_NE(left->widget()->windowTitle(), closed);
}

TEST_F(ArrangedWorkspace, TheLcdSitsAtTheWorkspacesBottomLeftAndFollowsItsSize) {
    lcd::TfrmLCD* lcd = window->LcdWindow();
    ASSERT_NE(lcd, nullptr);
    const auto expectBottomLeft = [&] {
        QWidget* workspace = window->Workspace();
        const QPoint corner = workspace->mapToGlobal(QPoint(0, workspace->height()));
        EXPECT_EQ(lcd->frameGeometry().left() - corner.x(), 5);
        EXPECT_EQ(corner.y() - lcd->frameGeometry().bottom() - 1, 5);
    };
    expectBottomLeft();
    window->resize(1000, 600);
    QCoreApplication::processEvents();
    expectBottomLeft();
}

}  // namespace
}  // namespace kr820::app
