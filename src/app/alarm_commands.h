// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QAction;
class QMenuBar;
class QToolBar;
class QWidget;

namespace kr820::app {

// ---- Alarm commands ------------------------------------------------------------------------
// The alarms' menu and tool button, all in this one function: an "Alarms" menu after the
// Option entry (Alarms... and Alarm Log) and a tool button after Setup Meter.
struct AlarmCommandHandlers {
    std::function<void()> openAlarms;  // the Alarms dialog
    std::function<void()> openLog;     // the alarm log window
};

struct AlarmCommandWidgets {
    QAction* alarms = nullptr;
    QAction* alarmLog = nullptr;
    QWidget* button = nullptr;
};

AlarmCommandWidgets AddAlarmCommands(QMenuBar& menuBar, const QAction* afterEntry,
                                     QToolBar& toolBar, const QWidget* afterButton,
                                     const AlarmCommandHandlers& handlers);

}  // namespace kr820::app
