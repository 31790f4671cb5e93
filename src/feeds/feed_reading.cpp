// SPDX-License-Identifier: MIT
#include "feeds/feed_reading.h"

#include <QDateTime>

#include "core/alarms/alarm_reading.h"

namespace kr820::feeds {

FeedReading FeedReadingOf(const core::LiveReading& reading, qint64 readAtMs) {
    // The alarms' view of a reading already knows which values are valid and rounds them to
    // the meter's tenths; the Celsius side reads it as a meter that shows Celsius.
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(readAtMs);
    const core::AlarmReading shown = core::AlarmReadingOf(reading, time);
    core::LiveReading celsius = reading;
    celsius.Status &= ~core::kStatusFahrenheit;
    const core::AlarmReading inCelsius = core::AlarmReadingOf(celsius, time);

    FeedReading feedReading;
    feedReading.ReadAtMs = readAtMs;
    feedReading.Unit = shown.Unit;
    feedReading.T1 = shown.T1;
    feedReading.T2 = shown.T2;
    feedReading.T1Celsius = inCelsius.T1;
    feedReading.T2Celsius = inCelsius.T2;
    return feedReading;
}

}  // namespace kr820::feeds
