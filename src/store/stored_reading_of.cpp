// SPDX-License-Identifier: MIT
#include "store/stored_reading_of.h"

#include <QDateTime>

#include "core/alarms/alarm_reading.h"

namespace kr820::store {

StoredReading StoredReadingOf(const core::LiveReading& reading, qint64 timeMs) {
    const core::AlarmReading shown = core::AlarmReadingOf(reading, {});
    StoredReading stored;
    stored.TimeMs = timeMs;
    stored.T1Valid = shown.T1.has_value();
    stored.T2Valid = shown.T2.has_value();
    stored.T1 = static_cast<float>(shown.T1.value_or(0.0));
    stored.T2 = static_cast<float>(shown.T2.value_or(0.0));
    stored.Fahrenheit = shown.Unit == core::DisplayUnit::Fahrenheit;
    return stored;
}

}  // namespace kr820::store
