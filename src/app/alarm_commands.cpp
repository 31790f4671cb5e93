// SPDX-License-Identifier: MIT
#include "app/alarm_commands.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace kr820::app {
namespace {

// The entry after `entry` among `actions`; null at the end (to insert at the end).
QAction* Following(const QList<QAction*>& actions, const QAction* entry) {
    const qsizetype at = actions.indexOf(const_cast<QAction*>(entry));
    return at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
}

}  // namespace

AlarmCommandWidgets AddAlarmCommands(QMenuBar& menuBar, const QAction* afterEntry,
                                     QToolBar& toolBar, const QWidget* afterButton,
                                     const AlarmCommandHandlers& handlers) {
    AlarmCommandWidgets made;
    auto* menu = new QMenu(QObject::tr("A&larms"), &menuBar);
    menu->setObjectName("Alarms1");
    made.alarms = menu->addAction(QObject::tr("&Alarms..."));
    made.alarms->setObjectName("AlarmSettings1");
    QObject::connect(made.alarms, &QAction::triggered, &menuBar, handlers.openAlarms);
    made.alarmLog = menu->addAction(QObject::tr("Alarm &Log"));
    made.alarmLog->setObjectName("AlarmLog1");
    QObject::connect(made.alarmLog, &QAction::triggered, &menuBar, handlers.openLog);
    if (QAction* before = Following(menuBar.actions(), afterEntry))
        menuBar.insertMenu(before, menu);
    else
        menuBar.addMenu(menu);

    auto* button = new QToolButton(&toolBar);
    button->setObjectName("btnAlarms");
    button->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
    button->setToolTip(QObject::tr("Alarms"));
    button->setAccessibleName(QObject::tr("Alarms"));
    button->setAutoRaise(true);
    QObject::connect(button, &QToolButton::clicked, &toolBar, handlers.openAlarms);
    QAction* afterAction = nullptr;
    for (QAction* action : toolBar.actions()) {
        if (toolBar.widgetForAction(action) == afterButton) afterAction = action;
    }
    if (QAction* before = Following(toolBar.actions(), afterAction))
        toolBar.insertWidget(before, button);
    else
        toolBar.addWidget(button);
    made.button = button;
    return made;
}

}  // namespace kr820::app
