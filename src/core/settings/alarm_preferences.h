// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "core/alarms/alarm_settings.h"
#include "core/setup/meter_setup.h"

class QSettings;

namespace kr820::core {

// What the desktop program does when an alarm is raised, beside logging it.
struct AlarmActions {
    bool Banner = true;  // the red banner in the main window
    bool MarkLcd = true;
    bool Notify = true;  // a desktop notification
    // Critical: the desktop keeps it on screen until closed. Normal ones go after a while, so
    // that they do not pile up over the program.
    bool NotifyCritical = false;
    bool Sound = false;  // repeated until acknowledged
    QString Command;     // run with the event in its environment; empty: none

    bool operator==(const AlarmActions&) const = default;
};

struct AlarmPreferences {
    AlarmSettings Alarms;
    AlarmActions Actions;
};

inline const QString kAlarmGroup = QStringLiteral("Alarms");

// Each value is read by itself; a missing or unreadable one keeps its default.
AlarmPreferences ReadAlarmPreferences(QSettings& settings);
void WriteAlarmPreferences(QSettings& settings, const AlarmPreferences& preferences);

// The meter's own alarm (from its setup) as the program's high and low limits on both channels,
// switched on as the meter's is; the limits are meant in the unit the meter shows.
void TakeMeterAlarmLimits(const MeterSetup& setup, AlarmSettings& alarms);

}  // namespace kr820::core
