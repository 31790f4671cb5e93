// SPDX-License-Identifier: MIT
#include "cli/watch_command.h"

#include <QDateTime>
#include <QEventLoop>

#include "cli/append_output.h"
#include "cli/duration_limit.h"
#include "cli/live_command.h"
#include "cli/meter_session.h"
#include "cli/session_alarms.h"
#include "cli/stop_signals.h"
#include "cli/stoppable_clock.h"
#include "core/alarms/alarm_descriptions.h"

namespace kr820::cli {

namespace {

ExitCode WatchLines(const CliArguments& arguments, MeterAccess& access, CliIo& io,
                    StopSignals& stop) {
    const QStringList devices = MeterSession::DevicesToSearch(arguments.device);
    if (devices.isEmpty()) {
        Say(io, QStringLiteral("no serial devices to search; name one with --device"));
        return ExitCode::NoMeter;
    }
    if (!arguments.alarms.any) {
        Say(io, QStringLiteral("watch needs an --alarm"));
        return ExitCode::Usage;
    }
    MeterSession session(access.comm1, access.clock, io, access.tick);
    // As for live: a named device that cannot be opened is the answer at once.
    if (!arguments.device.isEmpty()) {
        if (const QString problem = session.DeviceProblem(arguments.device); !problem.isEmpty()) {
            Say(io, problem);
            return ExitCode::NoMeter;
        }
    }
    QEventLoop loop;
    bool finished = false;
    ExitCode result = ExitCode::Success;
    const auto finish = [&](ExitCode code) {
        result = code;
        finished = true;
        loop.quit();
    };
    std::unique_ptr<SessionAlarms> alarms = WatchAlarms(arguments.alarms, session, io);
    alarms->SetOnEvent([&](const core::AlarmEvent& event) {
        if (finished) return;
        if (!WriteOut(io, (core::AlarmEventLine(event) + u'\n').toUtf8())) {
            finish(ExitCode::Failed);
            return;
        }
        if (arguments.alarms.exitOnAlarm && event.Change == core::AlarmChange::Raised)
            finish(ExitCode::AlarmRaised);
    });
    int taken = 0;
    // --duration: how long to watch, from the first reading.
    DurationLimit duration(access.clock, arguments.durationSeconds,
                           [&] { finish(ExitCode::Success); });
    session.OnReading(core::ReadingStage::Alarms, [&](const core::LiveReading& reading) {
        if (stop.Requested() || finished || !duration.Take(access.clock.Now())) return;
        if (!alarms->TakeReading(reading)) {
            finish(ExitCode::Usage);
            return;
        }
        if (arguments.count > 0 && ++taken >= arguments.count && !finished)
            finish(ExitCode::Success);
    });
    session.SetOnOtherModel([&](const QString& refusal) {
        if (finished) return;
        Say(io, refusal);
        finish(ExitCode::NoMeter);
    });
    QObject::connect(&stop, &StopSignals::StopRequested, &loop, &QEventLoop::quit);

    if (!session.Find(devices) && !stop.Requested() && !finished)
        Say(io, QStringLiteral("no meter answers on %1; waiting for one")
                    .arg(devices.join(QStringLiteral(", "))));
    session.ReportLinkChanges();
    if (!stop.Requested() && !finished) loop.exec();
    // The raise's command is run to its end (or its limit) before the exit tells of it.
    alarms->Finish();
    if (stop.Requested() && !finished) return StopSignals::Received() != 0 ? StoppedExit() : result;
    return result;
}

}  // namespace

ExitCode RunWatch(const CliArguments& arguments, MeterAccess& access, CliIo& io,
                  StopSignals& stop) {
    return WithAppendedOutput(
        arguments.output, io, [&stop] { return stop.Requested(); },
        [&](CliIo& linesIo) { return WatchLines(arguments, access, linesIo, stop); });
}

}  // namespace kr820::cli
