// SPDX-License-Identifier: MIT
#include "feeds/feed_reading.h"

namespace kr820::feeds {

FeedReading FeedReadingOf(const core::LiveReading& reading, qint64 readAtMs) {
    FeedReading feedReading;
    feedReading.ReadAtMs = readAtMs;
    feedReading.Unit = reading.Unit();
    feedReading.T1 = reading.Shown(core::Channel::T1);
    feedReading.T2 = reading.Shown(core::Channel::T2);
    feedReading.T1Celsius = reading.InCelsius(core::Channel::T1);
    feedReading.T2Celsius = reading.InCelsius(core::Channel::T2);
    return feedReading;
}

FeedReading FeedReadingOf(const core::LiveReading& reading) {
    return FeedReadingOf(reading, reading.ReadAtMs);
}

}  // namespace kr820::feeds
