// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <variant>

#include "core/alarms/alarm_settings.h"

namespace kr820::cli {

// The alarms a command line asks a reading command to watch: --alarm (repeatable),
// --hysteresis, --hold, --on-alarm, and for watch --exit-on-alarm.
struct AlarmOptions {
    core::AlarmSettings settings;
    bool any = false;  // at least one --alarm: rows carry the alarm column
    QString onAlarm;   // run once per raise and per clear; empty: none
    bool exitOnAlarm = false;
    std::chrono::milliseconds commandLimit{30000};  // --on-alarm-timeout: then it is killed
};

// The option values as given: rules, and empty texts for options not given.
struct AlarmOptionTexts {
    QStringList rules;
    QString hysteresis;
    QString hold;
    QString onAlarm;
    QString onAlarmTimeout;
};

// A sentence of the desktop's made a command line's message part: "the limit", no full stop.
QString LowerFirst(QString sentence);

// The options, or one line saying what is wrong. --hysteresis and --hold without an --alarm are
// refused: they would watch nothing.
std::variant<AlarmOptions, QString> ParseAlarmOptions(const AlarmOptionTexts& texts);

}  // namespace kr820::cli
