// SPDX-License-Identifier: MIT
#include "link/live_readings.h"

namespace kr820::link {

void LiveReadings::Publish(const core::LiveReading& reading, qint64 readAtMsSinceEpoch) {
    // Stored before it is handed out, so that a sink asking for the last reading gets this one.
    m_last = reading;
    m_last.ReadAtMs = readAtMsSinceEpoch;
    ++m_count;
    // A copy: a sink that runs events may see the next reading arrive before the others took
    // this one.
    const core::LiveReading published = m_last;
    m_fanOut.Publish(published);
}

void LiveReadings::PublishLinkLost(qint64 atMsSinceEpoch) {
    m_fanOut.PublishLinkLost(atMsSinceEpoch);
}

void LiveReadings::PublishLinkRestored(qint64 atMsSinceEpoch) {
    m_fanOut.PublishLinkRestored(atMsSinceEpoch);
}

}  // namespace kr820::link
