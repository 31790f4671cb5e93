// SPDX-License-Identifier: MIT
#include "cli/session_alarms.h"

#include "core/alarms/alarm_descriptions.h"
#include "core/alarms/alarm_limit_check.h"
#include "core/alarms/alarm_reading.h"
#include "core/alarms/alarm_texts.h"
#include "link/live_readings.h"

namespace kr820::cli {

SessionAlarms::SessionAlarms(const AlarmOptions& options, CliIo& io)
    : m_engine(options.settings), m_runner(options.onAlarm, options.commandLimit), m_io(io) {
    QObject::connect(&m_runner, &link::AlarmCommandRunner::problem, &m_runner,
                     [this](const QString& line) { Say(m_io, line); });
    // The command's own output goes to stderr: stdout holds the rows.
    QObject::connect(&m_runner, &link::AlarmCommandRunner::output, &m_runner,
                     [this](const QString& line) { Say(m_io, line); });
}

void SessionAlarms::WatchLinkLosses(link::LiveReadings& readings) {
    readings.FanOut().Attach(core::ReadingStage::Alarms, &m_runner, {.LinkLost = [this](qint64 at) {
                                 Handle(m_engine.TakeLinkLost(QDateTime::fromMSecsSinceEpoch(at)));
                             }});
}

bool SessionAlarms::TakeReading(const core::LiveReading& reading) {
    const core::AlarmReading watched = core::AlarmReadingOf(reading);
    bool fits = true;
    if (!m_unitChecked) {
        m_unitChecked = true;
        core::AlarmSettings inUnit = m_engine.Settings();
        if (!inUnit.LimitUnit) inUnit.LimitUnit = watched.Unit;
        if (const auto problem = core::CheckAlarmLimits(inUnit)) {
            Say(m_io, QStringLiteral("--alarm: %1; the meter shows %2")
                          .arg(LowerFirst(problem->Message), core::DegreesText(watched.Unit)));
            fits = false;
        }
    }
    Handle(m_engine.TakeReading(watched));
    return fits;
}

QString SessionAlarms::ActiveText() const { return core::ActiveAlarmsText(m_engine); }

void SessionAlarms::Handle(const std::vector<core::AlarmEvent>& events) {
    for (const core::AlarmEvent& event : events) {
        if (event.Change == core::AlarmChange::Acknowledged) continue;
        m_runner.Run(event);
        if (m_onEvent) m_onEvent(event);
    }
}

}  // namespace kr820::cli
