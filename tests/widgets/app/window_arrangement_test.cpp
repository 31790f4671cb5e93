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
#include "graph/graph_windows.h"
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

TEST(FirstPlace, ANewWindowGoesBesideTheLcdWhereItFitsThereWhole) {
    const QSize usual(900, 600);
    const QRect lcd(5, 450, 282, 190);
    // Room right of the LCD: the window starts there, at its size, nothing of it covered.
    const QRect wide = graph::FirstPlace(QSize(1366, 650), usual, lcd);
    EXPECT_EQ(wide, QRect(QPoint(287, 0), usual));
    EXPECT_FALSE(wide.intersects(lcd));
    // No room: the corner, as large as the workspace allows; no LCD: the corner too.
    EXPECT_EQ(graph::FirstPlace(QSize(1000, 650), usual, lcd), QRect(0, 0, 900, 600));
    EXPECT_EQ(graph::FirstPlace(QSize(700, 400), usual, lcd), QRect(0, 0, 700, 400));
    EXPECT_EQ(graph::FirstPlace(QSize(1366, 650), usual, {}), QRect(QPoint(0, 0), usual));
    // An LCD below the window's reach, or moved off the workspace, leaves the corner free.
    EXPECT_EQ(graph::FirstPlace(QSize(1366, 900), usual, QRect(5, 700, 282, 190)).topLeft(),
              QPoint(0, 0));
    EXPECT_EQ(graph::FirstPlace(QSize(1366, 650), usual, QRect(1500, 0, 282, 190)).topLeft(),
              QPoint(0, 0));
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

TEST_F(ArrangedWorkspace, TheLcdCoversNoPartOfANewGraphWindowWhereTheWorkspaceHasRoom) {
    window->resize(1366, 740);
    QCoreApplication::processEvents();
    window->CreateFileWindow(QStringLiteral("beside the LCD"));
    QMdiArea* workspace = window->Workspace();
    QMdiSubWindow* frame = workspace->activeSubWindow();
    ASSERT_NE(frame, nullptr);
    lcd::TfrmLCD* lcd = window->LcdWindow();
    ASSERT_NE(lcd, nullptr);
    const QRect lcdInWorkspace(workspace->viewport()->mapFromGlobal(lcd->frameGeometry().topLeft()),
                               lcd->frameGeometry().size());
    EXPECT_FALSE(frame->geometry().intersects(lcdInWorkspace));
    EXPECT_EQ(frame->geometry().size(), QSize(900, 600));
}

// A main window maximised by the window manager after the first windows opened: they take the
// place the full workspace gives them, until the user moves one.
TEST_F(ArrangedWorkspace, ANewWindowFollowsTheWorkspacesSizeUntilTheUserMovesIt) {
    window->resize(1000, 740);
    QCoreApplication::processEvents();
    window->CreateFileWindow(QStringLiteral("first"));
    QMdiSubWindow* frame = window->Workspace()->activeSubWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->geometry().topLeft(), QPoint(0, 0));

    window->resize(1366, 740);
    QCoreApplication::processEvents();
    EXPECT_GT(frame->geometry().left(), window->LcdWindow()->frameGeometry().width());

    frame->move(40, 30);
    window->resize(1100, 740);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->geometry().topLeft(), QPoint(40, 30));
}

}  // namespace
}  // namespace kr820::app
