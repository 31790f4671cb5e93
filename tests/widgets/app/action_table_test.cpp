// SPDX-License-Identifier: MIT
// The main window's menus and tool bar come from one table: every menu title and entry has a
// mnemonic that no other entry of its menu shares, and every tool button carries its hint as the
// name a screen reader says.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <set>

#include "app/frm_main.h"
#include "app/main_actions.h"
#include "fake_prompter.h"
#include "fast_clock.h"

namespace kr820::app {
namespace {

// The key a text's mnemonic gives, upper case; empty without one ("&&" is a plain ampersand).
QString Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&') continue;
        if (text.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        return text.at(i + 1).toUpper();
    }
    return {};
}

// What is wrong with the mnemonics of the entries of one menu (or of the menu bar).
QStringList MnemonicFaults(const QString& where, const QList<QAction*>& entries) {
    QStringList faults;
    QMap<QString, QString> taken;
    for (const QAction* entry : entries) {
        if (entry->isSeparator()) continue;
        const QString key = Mnemonic(entry->text());
        if (key.isEmpty()) {
            faults << where + QStringLiteral(": \"") + entry->text() +
                          QStringLiteral("\" has none");
        } else if (taken.contains(key)) {
            faults << where + QStringLiteral(": \"%1\" and \"%2\" share %3")
                                  .arg(taken.value(key), entry->text(), key);
        } else {
            taken.insert(key, entry->text());
        }
    }
    return faults;
}

TEST(MainActionTable, EveryRowHasItsNameMnemonicAndAMenuOfTheTable) {
    std::set<std::string> names;
    for (const MainAction& row : MainActions()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " twice";
        EXPECT_FALSE(Mnemonic(row.text).isEmpty()) << row.name;
        ASSERT_NE(row.run, nullptr) << row.name;
        if (!row.menu) continue;
        bool known = false;
        for (const MainMenu& menu : MainMenus()) known = known || qstrcmp(menu.name, row.menu) == 0;
        EXPECT_TRUE(known) << row.name << " in " << row.menu;
    }
    for (const MainMenu& menu : MainMenus())
        EXPECT_FALSE(Mnemonic(menu.title).isEmpty()) << menu.name;
}

class MainWindowMenus : public ::testing::Test {
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

    testing::FastClock fastClock{10};  // the start-up's rests
    QTemporaryDir home;
    testing::FakePrompter prompter;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(MainWindowMenus, NoMenuHoldsTwoEntriesWithOneMnemonicOrAnEntryWithout) {
    // Enough windows that the Window menu's list runs past nine.
    for (int i = 0; i < 11; ++i) window->CreateFileWindow(QStringLiteral("file %1").arg(i));
    QStringList faults = MnemonicFaults(QStringLiteral("menu bar"), window->menuBar()->actions());
    for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
        emit menu->aboutToShow();  // the Window menu lists the windows as it opens
        faults << MnemonicFaults(menu->title(), menu->actions());
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

TEST_F(MainWindowMenus, MenusAndToolBarFollowTheTable) {
    for (const MainAction& row : MainActions()) {
        QAction* item = window->findChild<QAction*>(row.name);
        ASSERT_NE(item, nullptr) << row.name;
        EXPECT_EQ(item->text(), QString::fromUtf8(row.text));
    }
    // The tool buttons left to right as the table places them, each named by its hint.
    QStringList buttons;
    for (QAction* slot : window->findChild<QToolBar*>("ToolBar1")->actions()) {
        auto* button = qobject_cast<QToolButton*>(
            window->findChild<QToolBar*>("ToolBar1")->widgetForAction(slot));
        if (!button) continue;
        buttons << button->objectName();
        EXPECT_EQ(button->accessibleName(), button->toolTip())
            << button->objectName().toStdString();
        EXPECT_FALSE(button->toolTip().isEmpty());
    }
    // The table's buttons in their places, and the alarms' beside Setup Meter.
    EXPECT_EQ(buttons, (QStringList{"btnOpen", "btnSave", "btnPrint", "btnDataLogger", "btnSetup",
                                    "btnAlarms", "btnRun", "btnStop", "btnHelp"}));
}

TEST_F(MainWindowMenus, ALockedEntryIsDroppedWhileAnotherCommandRuns) {
    // Help > Contents needs no lock and opens the help window even while a command runs.
    window->LockCommands(true);
    window->btnSetupClick();  // dropped: no refusal told
    window->Contents1Click();
    window->LockCommands(false);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_NE(window->Help(), nullptr);
    window->btnSetupClick();  // now it runs and refuses without a meter
    EXPECT_EQ(prompter.messages.size(), 1);
}

}  // namespace
}  // namespace kr820::app
