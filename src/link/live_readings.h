// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include "core/live/live_reading.h"

namespace kr820::link {

// The one stream of the meter's live readings: every frame the link cuts is parsed once and
// published here with the moment it was read, and the link's losses and returns with theirs.
// Whatever shows or watches readings (the LCD, the real-time recorder, the refusals of meter
// commands, the command line's rows, alarms, feeds) observes this; none of them writes it.
class LiveReadings : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // The last reading; all zero (the meter not logging) until one came.
    const core::LiveReading& Last() const { return m_last; }
    bool AnyReading() const { return m_count > 0; }
    qint64 ReadingCount() const { return m_count; }
    // The meter said in its last reading that it logs into its own memory.
    bool MeterLogging() const { return m_last.MeterLogging(); }

    // The link's side.
    void Publish(const core::LiveReading& reading, qint64 readAtMsSinceEpoch);
    void PublishLinkLost(qint64 atMsSinceEpoch);
    void PublishLinkRestored(qint64 atMsSinceEpoch);

signals:
    void readingArrived(const kr820::core::LiveReading& reading, qint64 readAtMsSinceEpoch);
    void linkLost(qint64 atMsSinceEpoch);
    void linkRestored(qint64 atMsSinceEpoch);

private:
    core::LiveReading m_last;
    qint64 m_count = 0;
};

}  // namespace kr820::link
