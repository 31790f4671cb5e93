// SPDX-License-Identifier: MIT
// Windows that stay where the user put them: the LCD window across a resize of the main window
// and across runs, the main window's size, place and maximised state across runs; the keyboard
// with the main window at start; help in the program's own window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "app/frm_main.h"
#include "fake_prompter.h"
#include "fast_clock.h"
#include "lcd/frm_lcd.h"
#include "ui/help_window.h"

namespace kr820::app {
namespace {

class WindowMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        qunsetenv("KR820_PORTS");
    }
    void TearDown() override {
        window.reset();
        qunsetenv("KR820_HOME");
    }

    // A run of the program as main() starts it; `before` runs on the window before it shows.
    void Start(const std::function<void(TfrmMain&)>& before = {}) {
        window = std::make_unique<TfrmMain>(
            prompter, [](QStringList&) {}, fastClock);
        if (before) before(*window);
        QSignalSpy finished(window.get(), &TfrmMain::startupFinished);
        window->ShowAtStart();
        ASSERT_TRUE(finished.wait(10000));
        QCoreApplication::processEvents();
    }
    void Quit() {
        window->close();
        window.reset();
    }
    lcd::TfrmLCD& Lcd() { return *window->LcdWindow(); }

    testing::FastClock fastClock{10};  // the start-up's rests
    QTemporaryDir home;
    testing::FakePrompter prompter;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(WindowMemoryTest, TheMainWindowHasTheKeyboardAtStart) {
    Start();
    ASSERT_NE(window->LcdWindow(), nullptr);
    EXPECT_EQ(QApplication::activeWindow(), window.get());
}

TEST_F(WindowMemoryTest, TheLcdStaysWhereTheUserPutItAcrossAResizeAndARun) {
    Start();
    window->showNormal();
    window->setGeometry(0, 0, 780, 560);
    QCoreApplication::processEvents();
    // At the workspace's bottom-left, above the status bar.
    const QRect first = Lcd().frameGeometry();
    const QPoint statusTop = window->statusBar()->mapToGlobal(QPoint(0, 0));
    EXPECT_LE(first.bottom(), statusTop.y());

    // The user moves the window once it is on the screen.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Lcd()));
    QCoreApplication::processEvents();
    const QPoint userPlace(450, 300);
    Lcd().move(userPlace);
    QCoreApplication::processEvents();
    window->resize(500, 400);  // the place now lies beyond the workspace
    QCoreApplication::processEvents();
    EXPECT_EQ(Lcd().frameGeometry().topLeft(), userPlace) << "snapped back";

    Quit();
    Start();
    EXPECT_EQ(Lcd().frameGeometry().topLeft(), userPlace) << "forgotten between runs";
}

TEST_F(WindowMemoryTest, TheMainWindowKeepsItsSizePlaceAndMaximisedState) {
    Start();
    // A first start fits the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(window->width(), screen.width());
    EXPECT_LE(window->height(), screen.height());

    window->showNormal();
    window->setGeometry(40, 50, 700, 480);
    QCoreApplication::processEvents();
    const QRect placed = window->geometry();
    Quit();
    Start();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->geometry(), placed);

    window->showMaximized();
    QCoreApplication::processEvents();
    Quit();
    Start();
    EXPECT_TRUE(window->isMaximized());
}

TEST_F(WindowMemoryTest, NoConnectionDimsTheLastReadings) {
    Start();  // no device: the search ends without a meter
    EXPECT_TRUE(Lcd().lblNoConnection()->isVisible());
    EXPECT_TRUE(Lcd().ReadingsDimmed());
    Lcd().ShowNoConnection(false);
    EXPECT_FALSE(Lcd().ReadingsDimmed());
}

TEST_F(WindowMemoryTest, HelpContentsOpensTheProgramsOwnHelpWindow) {
    Start();
    window->Contents1Click();
    ui::HelpWindow* help = window->Help();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(prompter.documents.isEmpty()) << "no outside viewer is needed";
    EXPECT_TRUE(prompter.messages.isEmpty());
    window->Contents1Click();  // one window, brought forward
    EXPECT_EQ(window->Help(), help);
}

TEST(HelpWindowTest, ShowsThePageFollowsItsLinksAndFindsText) {
    const QString page = QStringLiteral(KR820_FIXTURES "/../../src/resources/KR820.htm");
    ASSERT_TRUE(QFile::exists(page));
    ui::HelpWindow help(page, nullptr);
    EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("LCD")));
    help.SearchBox()->setText(QStringLiteral("Printer Setup"));
    EXPECT_TRUE(help.FindNext());
    EXPECT_EQ(help.Browser()->textCursor().selectedText(), QStringLiteral("Printer Setup"));
    help.SearchBox()->setText(QStringLiteral("no such words here"));
    EXPECT_FALSE(help.FindNext());

    // A missing page says where it belongs, in the window itself.
    ui::HelpWindow missing(QStringLiteral("/nowhere/KR820.htm"), nullptr);
    EXPECT_TRUE(missing.Browser()->toPlainText().contains(QStringLiteral("/nowhere/KR820.htm")));
}

}  // namespace
}  // namespace kr820::app
