// SPDX-License-Identifier: MIT
// The real question box: leaving it without choosing (Escape, or its close button) is Cancel
// wherever Cancel is offered, so that a question whose No discards never discards by accident.
#include "ui/qt_prompter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kr820::ui {
namespace {

// Confirm with `buttons`, left by `leave` once the box is up.
Prompter::Answer LeaveTheBox(const std::function<void(QMessageBox&)>& leave,
                             Prompter::Buttons buttons = Prompter::Buttons::YesNoCancel) {
    QTimer::singleShot(0, [leave] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) leave(*box);
    });
    QtPrompter prompter;
    return prompter.Confirm(nullptr, "Save Real-Time Graph ?", buttons);
}

TEST(QtPrompterTest, EscapeOrClosingTheQuestionIsCancel) {
    EXPECT_EQ(LeaveTheBox([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
              Prompter::Answer::Cancel);
    EXPECT_EQ(LeaveTheBox([](QMessageBox& box) { box.close(); }), Prompter::Answer::Cancel);
}

// "... was not saved. Show it?" offers Yes and No, and its No removes the recording: leaving the
// box must not be taken for that No.
TEST(QtPrompterTest, LeavingAYesNoQuestionIsNoAnswerAndItsButtonsStayYesAndNo) {
    const auto yesNo = Prompter::Buttons::YesNo;
    EXPECT_EQ(LeaveTheBox([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, yesNo),
              Prompter::Answer::Cancel);
    EXPECT_EQ(LeaveTheBox([](QMessageBox& box) { box.close(); }, yesNo), Prompter::Answer::Cancel);
    QStringList shown;
    EXPECT_EQ(LeaveTheBox(
                  [&](QMessageBox& box) {
                      for (QAbstractButton* button : box.buttons())
                          if (button->isVisibleTo(&box)) shown << button->text();
                      box.button(QMessageBox::No)->click();
                  },
                  yesNo),
              Prompter::Answer::No);
    EXPECT_EQ(shown.size(), 2);
}

// Answered, a question hands the keyboard back to the window that had it, even where the window
// manager gave it to another window (the LCD) as the box closed.
TEST(QtPrompterTest, TheKeyboardGoesBackToTheWindowThatHadIt) {
    QWidget main;
    QWidget lcd;
    main.show();
    lcd.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &main; }));
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        lcd.activateWindow();
        box->button(QMessageBox::Yes)->click();
    });
    QtPrompter prompter;
    EXPECT_EQ(prompter.Confirm(&main, "Save Real-Time Graph ?", Prompter::Buttons::YesNoCancel),
              Prompter::Answer::Yes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &main; }))
        << "the keyboard is with "
        << (QApplication::activeWindow() == &lcd ? "the other window" : "no window");
}

// The LCD window stays on top; what the prompter shows must not open beneath it.
TEST(QtPrompterTest, QuestionsAndDialogsOpenAboveTheStayOnTopLcd) {
    bool boxOnTop = false;
    LeaveTheBox([&](QMessageBox& box) {
        boxOnTop = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box.close();
    });
    EXPECT_TRUE(boxOnTop);

    QDialog dialog;
    bool dialogOnTop = false;
    QTimer::singleShot(0, [&] {
        dialogOnTop = dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        dialog.reject();
    });
    QtPrompter().Exec(dialog);
    EXPECT_TRUE(dialogOnTop);
}

}  // namespace
}  // namespace kr820::ui
