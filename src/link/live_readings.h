// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include "core/live/live_reading.h"
#include "core/live/reading_fan_out.h"

namespace kr820::link {

// The one stream of the meter's live readings: every frame the link cuts is parsed once, stamped
// with the moment it was read and handed to the sinks of its fan-out, and so are the link's
// losses and returns. Whatever shows or watches readings (the LCD, the real-time recorder, the
// command line's rows, alarms, feeds) attaches to the fan-out at its stage; the refusals of meter
// commands ask for the last reading. None of them writes it.
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

    // Sinks attach here, each at its stage.
    core::ReadingFanOut& FanOut() const { return m_fanOut; }

    // The link's side.
    void Publish(const core::LiveReading& reading, qint64 readAtMsSinceEpoch);
    void PublishLinkLost(qint64 atMsSinceEpoch);
    void PublishLinkRestored(qint64 atMsSinceEpoch);

private:
    core::LiveReading m_last;
    qint64 m_count = 0;
    // Attaching a sink changes what the stream hands out, not what it holds.
    mutable core::ReadingFanOut m_fanOut;
};

}  // namespace kr820::link
