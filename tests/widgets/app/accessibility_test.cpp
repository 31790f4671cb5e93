// SPDX-License-Identifier: MIT
// What a screen reader finds: every control a user can reach in every window and dialog has a
// name a person would read, and no field inside a group is named only after the group.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include "app/frm_main.h"
#include "every_dialog.h"
#include "fast_clock.h"
#include "graph/frm_graph.h"
#include "lcd/frm_lcd.h"
#include "ui/help_window.h"

namespace kr820::app {
namespace {

bool Interactive(const QWidget* widget) {
    // A view's scroll bars and headers are read with the view.
    if (qobject_cast<const QScrollBar*>(widget) || qobject_cast<const QHeaderView*>(widget))
        return false;
    // A combo box's or spin box's own text field is part of its parent's control.
    if (qobject_cast<const QLineEdit*>(widget) &&
        (qobject_cast<QComboBox*>(widget->parentWidget()) ||
         qobject_cast<QAbstractSpinBox*>(widget->parentWidget())))
        return false;
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTabBar*>(widget);
}

QString Stripped(QString text) { return text.remove(u'&').trimmed(); }

// The controls of `window` a user sees, each with what is wrong with its name.
QStringList UnnamedControls(QWidget& window) {
    QStringList faults;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!Interactive(widget) || !widget->isVisibleTo(&window)) continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        const QString name = face ? face->text(QAccessible::Name).trimmed() : QString();
        const QString what = QStringLiteral("%1 %2 (%3)")
                                 .arg(window.objectName(), widget->objectName(),
                                      QString::fromLatin1(widget->metaObject()->className()));
        if (name.isEmpty()) {
            faults << what + QStringLiteral(": no name");
            continue;
        }
        for (QWidget* up = widget->parentWidget(); up && up != &window; up = up->parentWidget()) {
            auto* group = qobject_cast<QGroupBox*>(up);
            if (group && Stripped(group->title()) == name)
                faults << what + QStringLiteral(": named after its group, ") + name;
        }
    }
    return faults;
}

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        qunsetenv("KR820_PORTS");
    }
    void TearDown() override { qunsetenv("KR820_HOME"); }

    void ExpectAllNamed(QWidget& window) {
        window.show();
        QCoreApplication::processEvents();
        const QStringList faults = UnnamedControls(window);
        EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    }

    testing::FastClock fastClock{10};  // the start-up's rests
    QTemporaryDir home;
    testing::FakePrompter prompter;
};

TEST_F(AccessibilityTest, TheMainWindowAndItsWindowsNameEveryControl) {
    TfrmMain window(
        prompter, [](QStringList&) {}, fastClock);
    QSignalSpy finished(&window, &TfrmMain::startupFinished);
    window.show();
    ASSERT_TRUE(finished.wait(10000));
    window.ShowDataLoggerWindow();
    window.CreateFileWindow(QStringLiteral("file.txt"));
    window.Contents1Click();
    QCoreApplication::processEvents();

    ExpectAllNamed(window);  // with the graph windows inside its workspace
    // The tool bars' buttons for the tools that do not fit, shown or not yet.
    for (QToolBar* bar : window.findChildren<QToolBar*>()) {
        auto* more = bar->findChild<QToolButton*>("qt_toolbar_ext_button");
        ASSERT_NE(more, nullptr) << bar->objectName().toStdString();
        EXPECT_FALSE(more->accessibleName().isEmpty()) << bar->objectName().toStdString();
    }
    ASSERT_NE(window.LcdWindow(), nullptr);
    ExpectAllNamed(*window.LcdWindow());
    ASSERT_NE(window.Help(), nullptr);
    ExpectAllNamed(*window.Help());
}

TEST_F(AccessibilityTest, EveryDialogNamesEveryControl) {
    core::ChartModel chart;
    for (const auto& dialog : testing::EveryDialog(prompter, chart)) ExpectAllNamed(*dialog);
}

// The key a text's mnemonic gives, lower case; none without one ("&&" is a plain ampersand).
QChar MnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&') continue;
        if (text.at(i + 1) != u'&') return text.at(i + 1).toLower();
        ++i;
    }
    return {};
}

TEST_F(AccessibilityTest, EveryDialogGivesEachMnemonicOnce) {
    core::ChartModel chart;
    for (const auto& dialog : testing::EveryDialog(prompter, chart)) {
        QMap<QChar, QString> taken;
        QStringList texts;
        for (const QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            texts << button->text();
        for (const QGroupBox* group : dialog->findChildren<QGroupBox*>()) texts << group->title();
        for (const QString& text : texts) {
            const QChar key = MnemonicOf(text);
            if (key.isNull()) continue;
            EXPECT_FALSE(taken.contains(key))
                << dialog->objectName().toStdString() << ": \"" << taken.value(key).toStdString()
                << "\" and \"" << text.toStdString() << "\" share " << QString(key).toStdString();
            taken.insert(key, text);
        }
    }
}

}  // namespace
}  // namespace kr820::app
