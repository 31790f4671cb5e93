// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "cli/cli_io.h"
#include "cli/meter_session.h"
#include "cli/reading_pacer.h"
#include "cli/session_alarms.h"
#include "feeds/feed_alarms.h"

namespace kr820::link {
class Clock;
class DevicePort;
}  // namespace kr820::link

namespace kr820::feeds {
class MeterFeed;
}

namespace kr820::cli {

struct AlarmOptions;

// One meter of serve: its own port, link and supervision, its alarms, and its feed, which gets
// every alarm change and the readings at the pace asked for. Lost and regained links are logged
// (kr820.serve) with the meter's name; the link itself goes on looking for the meter.
class ServedMeter {
public:
    ServedMeter(QString name, QString path, std::unique_ptr<link::DevicePort> port,
                link::Clock& clock, std::chrono::milliseconds tick, CliIo& io,
                const AlarmOptions& alarms, std::chrono::seconds every, feeds::MeterFeed& feed);
    ~ServedMeter();

    // Searches the meter on its device and starts the supervision, which goes on looking when it
    // does not answer yet.
    void Start();

    const QString& Name() const { return m_name; }
    const QString& Path() const { return m_path; }

private:
    // At the feeds' stage: the alarms took the reading already.
    void TakeReading(const core::LiveReading& reading);
    void TakeLinkLost(qint64 atMs);
    void TakeLinkRestored(qint64 atMs);
    // True when the alarms' active set changed since last handed.
    bool HandAlarms();

    const QString m_name;
    const QString m_path;
    std::unique_ptr<link::DevicePort> m_port;
    CliIo m_io;  // what the session says: only refusals and alarm commands' troubles
    MeterSession m_session;
    std::unique_ptr<SessionAlarms> m_alarms;
    ReadingPacer m_pacer;
    feeds::MeterFeed& m_feed;
    std::array<bool, core::kAlarmCount> m_handedActive{};
    QString m_otherModelTold;  // the last refusal of another model logged
};

}  // namespace kr820::cli
