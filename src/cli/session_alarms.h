// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <functional>
#include <vector>

#include "cli/alarm_options.h"
#include "cli/cli_io.h"
#include "core/alarms/alarm_engine.h"
#include "core/live/live_reading.h"
#include "link/alarm_command.h"

namespace kr820::link {
class LiveReadings;
}

namespace kr820::cli {

// The alarms a reading command watches over its session: every reading and every lost link goes
// through the engine, and each raise and clear runs the user's --on-alarm command without
// waiting for it; a command that fails or hangs is told on stderr.
class SessionAlarms {
public:
    SessionAlarms(const AlarmOptions& options, CliIo& io);

    // Lost links come from the stream itself, at the alarms' stage; readings are brought by
    // TakeReading at that stage too, before the row they belong to is written, so that the row
    // carries the state after its reading.
    void WatchLinkLosses(link::LiveReadings& readings);
    // False at the first reading when a limit lies outside what a reading can be in the unit
    // the meter shows (said on stderr): the limits cannot be what the user meant. The reading is
    // watched all the same.
    bool TakeReading(const core::LiveReading& reading);
    // Called with each raise and clear, after its command was started.
    void SetOnEvent(std::function<void(const core::AlarmEvent&)> handler) {
        m_onEvent = std::move(handler);
    }
    // The row's alarm column: the alarms active now.
    QString ActiveText() const;
    const core::AlarmEngine& Engine() const { return m_engine; }
    // At the end of the run: waits for the commands still running, each at most its limit.
    void Finish() { m_runner.WaitForAll(); }

private:
    void Handle(const std::vector<core::AlarmEvent>& events);

    core::AlarmEngine m_engine;
    link::AlarmCommandRunner m_runner;
    CliIo& m_io;
    std::function<void(const core::AlarmEvent&)> m_onEvent;
    bool m_unitChecked = false;
};

}  // namespace kr820::cli
