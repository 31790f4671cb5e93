// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_reading.h"

namespace kr820::core {

AlarmReading AlarmReadingOf(const LiveReading& reading, const QDateTime& time) {
    AlarmReading alarmReading;
    alarmReading.Time = time;
    alarmReading.Unit = reading.Unit();
    alarmReading.T1 = reading.Shown(Channel::T1);
    alarmReading.T2 = reading.Shown(Channel::T2);
    return alarmReading;
}

AlarmReading AlarmReadingOf(const LiveReading& reading) {
    return AlarmReadingOf(reading, QDateTime::fromMSecsSinceEpoch(reading.ReadAtMs));
}

}  // namespace kr820::core
