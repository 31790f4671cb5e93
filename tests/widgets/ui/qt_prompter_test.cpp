// SPDX-License-Identifier: MIT
// The real question box: leaving it without choosing (Escape, or its close button) is Cancel
// wherever Cancel is offered, so that a question whose No discards never discards by accident.
#include "ui/qt_prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kr820::ui {
namespace {

// Confirm with YesNoCancel, left by `leave` once the box is up.
Prompter::Answer LeaveTheBox(const std::function<void(QMessageBox&)>& leave) {
    QTimer::singleShot(0, [leave] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) leave(*box);
    });
    QtPrompter prompter;
    return prompter.Confirm(nullptr, "Save Real-Time Graph ?", Prompter::Buttons::YesNoCancel);
}

TEST(QtPrompterTest, EscapeOrClosingTheQuestionIsCancel) {
    EXPECT_EQ(LeaveTheBox([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
              Prompter::Answer::Cancel);
    EXPECT_EQ(LeaveTheBox([](QMessageBox& box) { box.close(); }), Prompter::Answer::Cancel);
}

}  // namespace
}  // namespace kr820::ui
