// SPDX-License-Identifier: MIT
#include "link/live_readings.h"

namespace kr820::link {

void LiveReadings::Publish(const core::LiveReading& reading, qint64 readAtMsSinceEpoch) {
    // Stored before the signal, so that an observer asking for the last reading gets this one.
    m_last = reading;
    ++m_count;
    emit readingArrived(reading, readAtMsSinceEpoch);
}

void LiveReadings::PublishLinkLost(qint64 atMsSinceEpoch) { emit linkLost(atMsSinceEpoch); }

void LiveReadings::PublishLinkRestored(qint64 atMsSinceEpoch) { emit linkRestored(atMsSinceEpoch); }

}  // namespace kr820::link
