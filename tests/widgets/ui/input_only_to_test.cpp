// SPDX-License-Identifier: MIT
// While a file is read or written the events run between its lines: a click or key meant for
// another window must not start a command then, while the progress window's Cancel still works.
#include "ui/input_only_to.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace kr820::ui {
namespace {

TEST(InputOnlyToTest, InputForAnotherWindowIsDroppedWhileTheProgressWindowsCancelWorks) {
    QWidget progress;
    auto* cancel = new QPushButton("Cancel", &progress);
    bool cancelled = false;
    QObject::connect(cancel, &QPushButton::clicked, [&] { cancelled = true; });
    QPushButton other("Run");
    bool ran = false;
    QObject::connect(&other, &QPushButton::clicked, [&] { ran = true; });
    QLineEdit typing;
    progress.show();
    other.show();
    typing.show();

    const auto click = [](QWidget& target) {
        const QPointF at(target.rect().center());
        QCoreApplication::postEvent(
            &target, new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::LeftButton,
                                     Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            &target, new QMouseEvent(QEvent::MouseButtonRelease, at, at, Qt::LeftButton,
                                     Qt::NoButton, Qt::NoModifier));
    };
    click(other);
    QCoreApplication::postEvent(&typing,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    click(*cancel);
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });

    ProcessEventsWithInputOnlyTo(&progress);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(typing.text().isEmpty());
    EXPECT_TRUE(timerRan) << "timers, the recording's among them, go on";
}

}  // namespace
}  // namespace kr820::ui
