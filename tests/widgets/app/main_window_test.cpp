// SPDX-License-Identifier: MIT
// The main window started headless, as the program starts it, with a settings folder of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>

#include "app/frm_about.h"
#include "app/frm_main.h"
#include "fake_prompter.h"
#include "fast_clock.h"
#include "graph/frm_graph.h"
#include "lcd/frm_lcd.h"
#include "running_emulator.h"
#include "ui/help_window.h"

namespace kr820::app {
namespace {

using testing::FakePrompter;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        qunsetenv("KR820_PORTS");
    }
    void TearDown() override { qunsetenv("KR820_HOME"); }

    QSettings Stored() { return QSettings(home.filePath("KR820.conf"), QSettings::IniFormat); }
    void Store(const QString& name, const QVariant& value) {
        QSettings settings = Stored();
        settings.setValue("SOFTWARE/KR820/" + name, value);
    }

    // Creates the window with the given devices, shows it and waits for the start-up to end.
    std::unique_ptr<TfrmMain> Start(QStringList devices = {}, TfrmAbout* splash = nullptr) {
        auto window = std::make_unique<TfrmMain>(
            prompter, [devices](QStringList& list) { list.append(devices); }, fastClock);
        if (splash) window->SetSplash(splash);
        QSignalSpy finished(window.get(), &TfrmMain::startupFinished);
        window->show();
        EXPECT_TRUE(finished.wait(10000));
        return window;
    }

    static QToolButton* Button(TfrmMain& window, const char* name) {
        return window.findChild<QToolButton*>(name);
    }

    testing::FastClock fastClock{10};  // the start-up's rests
    QTemporaryDir home;
    FakePrompter prompter;
};

TEST_F(MainWindowTest, StartsWithItsCaptionMenusToolBarAndStatusBar) {
    auto window = Start();
    EXPECT_EQ(window->windowTitle(), "KR820");

    QStringList menus;
    for (QAction* entry : window->menuBar()->actions())
        if (entry->isVisible()) menus << entry->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&DataLogger", "&Real Time Data", "&Option",
                                  "&Publish...", "&Alarms", "&View", "&Window", "&Help"}));

    const std::pair<const char*, const char*> hints[] = {
        {"btnOpen", "Open File"},
        {"btnSave", "Save To File"},
        {"btnPrint", "Print"},
        {"btnDataLogger", "Load Data"},
        {"btnSetup", "Setup Meter"},
        {"btnRun", "Start Recording Real Time Data"},
        {"btnStop", "Stop Recording Real Time Data"},
        {"btnHelp", "Help"}};
    for (const auto& [name, hint] : hints) {
        QToolButton* button = Button(*window, name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->toolTip(), hint);
    }
    auto* chooser = window->findChild<QComboBox*>("ComboBoxDeviceName");
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isEditable());
    // A typical adapter's path fits the box, and any path shows whole in its tip.
    EXPECT_GT(chooser->lineEdit()->width(),
              chooser->fontMetrics().horizontalAdvance("/dev/ttyUSB0"));
    chooser->setEditText("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1234567-if00-port0");
    EXPECT_EQ(chooser->toolTip(), chooser->currentText());

    // No serial device at all: nothing to open, and the status says so.
    EXPECT_EQ(window->StatusPanelText(0), "/dev/");
    EXPECT_EQ(window->StatusPanelText(1), "Off Connection");
    EXPECT_FALSE(window->Comm1().Active());
    EXPECT_TRUE(window->MainTimer().isActive());
    EXPECT_EQ(window->Workspace()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(window->Workspace()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(MainWindowTest, FirstShowCreatesTheGraphAndLcdWindowsAndClosesTheSplash) {
    QPointer<TfrmAbout> splash = TfrmAbout::ShowSplash();
    EXPECT_FALSE(splash->findChild<QWidget*>("btnOK")->isVisible());
    QStringList statuses;
    QObject::connect(splash, &TfrmAbout::statusChanged,
                     [&](const QString& text) { statuses << text; });

    auto window = Start({}, splash);
    EXPECT_EQ(statuses, (QStringList{"Initializing COM Port ....", ""}));
    EXPECT_TRUE(splash.isNull() || !splash->isVisible());

    graph::TfrmGraph* graph = window->RealTimeGraphWindow();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->windowTitle(), "Real-Time Graph");
    // Its usual 900 x 600, within the workspace.
    const QRect frame = graph->parentWidget()->geometry();
    EXPECT_EQ(frame.size(), QSize(900, 600).boundedTo(window->Workspace()->viewport()->size()));
    EXPECT_EQ(frame.topLeft(), QPoint(0, 0));
    EXPECT_TRUE(window->findChild<QAction*>("RealTimeGraph1")->isChecked());

    lcd::TfrmLCD* lcd = window->LcdWindow();
    ASSERT_NE(lcd, nullptr);
    EXPECT_EQ(lcd->windowTitle(), "LCD");
    EXPECT_EQ(lcd->size(), QSize(276, 162));
    EXPECT_TRUE(lcd->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(lcd->lblNoConnection()->isVisible());
    EXPECT_EQ(lcd->lblNoConnection()->text(), "No Connection");
    // Neither the splash going nor the LCD window coming took the keyboard.
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), window.get());
}

TEST_F(MainWindowTest, AFirstStartWritesTheDefaultsAtClose) {
    auto window = Start();
    window->close();
    QSettings stored = Stored();
    EXPECT_EQ(stored.value("SOFTWARE/KR820/RealTimeRate").toInt(), 2);
    EXPECT_EQ(stored.value("SOFTWARE/KR820/LastConnectedPort").toInt(), 0);
    EXPECT_EQ(stored.value("SOFTWARE/KR820/LastConnectedModel").toInt(), 820);
}

TEST_F(MainWindowTest, TheDeviceLastConnectedIsTriedFirstAndNamedByItsPath) {
    // Two devices without a meter; the last run ended on a typed device (no index), and a meter
    // had answered on the second one before.
    auto firstMeter = testing::StartEmulator(/*silent=*/true);
    auto secondMeter = testing::StartEmulator(/*silent=*/true);
    const QString first = testing::PathOf(*firstMeter), second = testing::PathOf(*secondMeter);
    Store("LastConnectedPort", -1);
    Store("LastConnectedDevice", second);
    auto window = Start({first, second});
    auto* chooser = window->findChild<QComboBox*>("ComboBoxDeviceName");
    ASSERT_EQ(chooser->count(), 2);
    EXPECT_EQ(chooser->itemText(0), second);
    EXPECT_EQ(chooser->currentText(), second) << "no meter: the first device stays chosen";
    EXPECT_EQ(window->StatusPanelText(0), second) << "a path, never \"COM0\"";
}

TEST_F(MainWindowTest, ExitWritesTheSettingsExactlyAsClosing) {
    Store("RealTimeRate", 7);
    Store("LastConnectedPort", 1);
    auto window = Start({"ttyKR0", "ttyKR1"});
    window->findChild<QAction*>("Exit1")->trigger();
    EXPECT_FALSE(window->isVisible());
    QSettings stored = Stored();
    // The rate goes back as 2: creating the real-time graph resets it.
    EXPECT_EQ(stored.value("SOFTWARE/KR820/RealTimeRate").toInt(), 2);
    EXPECT_EQ(stored.value("SOFTWARE/KR820/LastConnectedPort").toInt(), 0)
        << "the devices cannot be opened, so they left the list and the index fell back";
    EXPECT_EQ(stored.value("SOFTWARE/KR820/LastConnectedModel").toInt(), 820);
}

TEST_F(MainWindowTest, TheStoredRateOnlySetsTheFirstAxisStep) {
    Store("RealTimeRate", 10);
    auto window = Start();
    EXPECT_DOUBLE_EQ(window->State().RealTimeAxisStep * 86400.0, 1000.0);
    EXPECT_EQ(window->State().RealTimeRate, 2);
}

TEST_F(MainWindowTest, AStoredRateOfZeroOrAnUnreadableValueCountsAsTwo) {
    Store("RealTimeRate", 0);
    Store("LastConnectedModel", "not a number");
    auto window = Start();
    EXPECT_DOUBLE_EQ(window->State().RealTimeAxisStep * 86400.0, 200.0);
    EXPECT_EQ(window->State().LastConnectedModel, 820);
}

TEST_F(MainWindowTest, ViewMenuBringsBackClosedWindows) {
    auto window = Start();
    window->LcdWindow()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->LcdWindow(), nullptr);
    window->findChild<QAction*>("LCD1")->trigger();
    ASSERT_NE(window->LcdWindow(), nullptr);
    EXPECT_TRUE(window->LcdWindow()->isVisible());

    window->RealTimeGraphWindow()->parentWidget()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->RealTimeGraphWindow(), nullptr);
    EXPECT_FALSE(window->findChild<QAction*>("RealTimeGraph1")->isChecked());
    window->findChild<QAction*>("RealTimeGraph1")->trigger();
    ASSERT_NE(window->RealTimeGraphWindow(), nullptr);
    EXPECT_EQ(window->Workspace()->subWindowList().size(), 1);
}

TEST_F(MainWindowTest, HelpOpensThePageBesideTheProgramAndAboutShowsTheVersion) {
    auto window = Start();
    Button(*window, "btnHelp")->click();
    ASSERT_NE(window->Help(), nullptr);
    EXPECT_TRUE(window->Help()->Browser()->source().toLocalFile().endsWith("/KR820.htm") ||
                window->Help()->Browser()->toPlainText().contains("/KR820.htm"));
    EXPECT_TRUE(prompter.documents.isEmpty());

    QString caption, version;
    prompter.onDialog = [&](QDialog& dialog) {
        caption = dialog.windowTitle();
        version = dialog.findChild<QLabel*>("lblVersion")->text();
        return int(QDialog::Accepted);
    };
    window->findChild<QAction*>("About")->trigger();
    EXPECT_EQ(caption, "About Kelvra for Temperature Recorder");
    EXPECT_FALSE(version.isEmpty());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

}  // namespace
}  // namespace kr820::app
