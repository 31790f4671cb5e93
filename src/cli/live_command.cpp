// SPDX-License-Identifier: MIT
#include "cli/live_command.h"

#include <QDateTime>
#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <optional>

#include "cli/append_output.h"
#include "cli/duration_limit.h"
#include "cli/live_rows.h"
#include "cli/live_store.h"
#include "cli/meter_session.h"
#include "cli/reading_pacer.h"
#include "cli/session_alarms.h"
#include "cli/stop_signals.h"
#include "cli/stoppable_clock.h"
#include "link/live_readings.h"
#include "store/stored_reading_of.h"

namespace kr820::cli {
namespace {

// How often the wait for a silent meter is looked at.
constexpr std::chrono::milliseconds kDeadlineLook{100};

// What a new store says of the recording: its start, pace, points asked and device.
store::StoreHeader StoreHeaderOf(const CliArguments& arguments) {
    store::StoreHeader header;
    header.StartMs = QDateTime::currentMSecsSinceEpoch();
    header.RateSeconds = arguments.everySeconds;
    if (arguments.count > 0) header.PointsAsked = arguments.count;
    header.Device = arguments.device;
    return header;
}

}  // namespace

std::unique_ptr<SessionAlarms> WatchAlarms(const AlarmOptions& options, MeterSession& session,
                                           CliIo& io) {
    if (!options.any) return nullptr;
    auto alarms = std::make_unique<SessionAlarms>(options, io);
    alarms->WatchLinkLosses(session.Link().Readings());
    return alarms;
}

// The readings on io.out, until the count, the duration or a stop.
ExitCode LiveRows(const CliArguments& arguments, MeterAccess& access, CliIo& io,
                  StopSignals& stop) {
    const QStringList devices = MeterSession::DevicesToSearch(arguments.device);
    if (devices.isEmpty()) {
        Say(io, QStringLiteral("no serial devices to search; name one with --device"));
        return ExitCode::NoMeter;
    }
    MeterSession session(access.comm1, access.clock, io, access.tick);
    const QString named = arguments.device;
    // A named device that cannot be opened is an answer at once; with --timeout it may still
    // appear (a meter plugged in, a udev link made) and is waited for.
    if (!named.isEmpty() && arguments.timeoutSeconds == 0) {
        if (const QString problem = session.DeviceProblem(named); !problem.isEmpty()) {
            Say(io, problem);
            return ExitCode::NoMeter;
        }
    }
    std::unique_ptr<store::RecordingWriter> store;
    if (!arguments.store.isEmpty()) {
        QString problem;
        store = OpenLiveStore(arguments.store, StoreHeaderOf(arguments), &problem);
        if (!store) {
            Say(io, problem);
            return ExitCode::Failed;
        }
    }
    core::RowLayout layout{arguments.format, false, {}, arguments.timeFormat, arguments.alarms.any};
    const QByteArray header = io.outContinuesFile ? QByteArray() : core::HeaderLine(layout);
    if (!WriteOut(io, header)) return ExitCode::Failed;

    QEventLoop loop;
    // A quit before the loop runs is lost: the search runs events, and may end the run already.
    bool finished = false;
    const auto finish = [&] {
        finished = true;
        loop.quit();
    };
    ExitCode result = ExitCode::Success;
    ReadingPacer pacer{std::chrono::seconds(arguments.everySeconds)};
    int printed = 0;
    std::unique_ptr<SessionAlarms> alarms = WatchAlarms(arguments.alarms, session, io);
    // The store fails once (a full disk): the run ends with what it holds kept.
    const auto storeFailed = [&] {
        Say(io, QStringLiteral("the store '%1' cannot be written: %2; stopping")
                    .arg(store->Path(), store->FailureReason()));
        result = ExitCode::Failed;
        finish();
    };
    if (store) {
        if (alarms) {
            alarms->SetOnEvent([&](const core::AlarmEvent& event) {
                if (!finished && !store->Mark(event)) storeFailed();
            });
        }
        session.Link().Readings().FanOut().Attach(
            core::ReadingStage::Recording, &loop,
            {.LinkLost =
                 [&](qint64 atMs) {
                     if (!finished && !store->LinkLost(atMs)) storeFailed();
                 },
             .LinkRestored =
                 [&](qint64 atMs) {
                     if (!finished && !store->LinkRestored(atMs)) storeFailed();
                 }});
    }
    // --duration: how long to print, from the first reading.
    DurationLimit duration(access.clock, arguments.durationSeconds, finish);
    // Each reading through the stages of the fan-out: watched (every reading, not only those
    // paced into rows), then kept, then printed; a row printed is a row kept.
    bool rowDue = false;
    session.OnReading(core::ReadingStage::Alarms, [&](const core::LiveReading& reading) {
        rowDue = false;
        if (stop.Requested() || finished || !duration.Take(access.clock.Now())) return;
        if (alarms && !alarms->TakeReading(reading)) {
            result = ExitCode::Usage;
            finish();
            return;
        }
        rowDue = pacer.Take(access.clock.Now());
    });
    session.OnReading(core::ReadingStage::Recording, [&](const core::LiveReading& reading) {
        if (!rowDue || !store) return;
        if (!store->Append(store::StoredReadingOf(reading, reading.ReadAtMs),
                           alarms ? &alarms->Engine() : nullptr)) {
            rowDue = false;
            storeFailed();
        }
    });
    session.OnReading(core::ReadingStage::Display, [&](const core::LiveReading& reading) {
        if (!rowDue) return;
        layout.Device = session.DeviceName();
        // The instant, in whole seconds cut rather than rounded (a row never carries a time
        // still to come): the local time and its offset are those in force at it.
        core::ReadingRow row = RowOfReading(reading, reading.ReadAtMs / 1000);
        if (alarms) row.Alarm = alarms->ActiveText();
        if (!WriteOut(io, core::RowLine(row, layout))) {
            result = ExitCode::Failed;  // stdout went away: nobody reads on
            finish();
            return;
        }
        if (arguments.count > 0 && ++printed >= arguments.count) finish();
    });
    // Readings of another model are no meter's: nothing is printed or kept.
    session.SetOnOtherModel([&](const QString& refusal) {
        if (finished) return;
        Say(io, refusal);
        result = ExitCode::NoMeter;
        finish();
    });
    QObject::connect(&stop, &StopSignals::StopRequested, &loop, &QEventLoop::quit);

    // --timeout: how long no meter may answer, from the start and from each lost link.
    QTimer deadline;
    std::optional<link::Clock::TimePoint> silentSince;
    bool timedOut = false;
    if (arguments.timeoutSeconds > 0) {
        QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
            const link::Clock::TimePoint now = access.clock.Now();
            if (session.State().Connected) {
                silentSince.reset();
            } else if (!silentSince) {
                silentSince = now;
            } else if (now - *silentSince >= std::chrono::seconds(arguments.timeoutSeconds)) {
                timedOut = true;
                finish();
            }
        });
        deadline.start(kDeadlineLook);
    }

    if (!session.Find(devices) && !stop.Requested() && !finished)
        Tell(io, QStringLiteral("no meter answers on %1; waiting for one")
                     .arg(devices.join(QStringLiteral(", "))));
    session.ReportLinkChanges();
    if (!stop.Requested() && !finished) loop.exec();
    if (alarms) alarms->Finish();
    // A store that failed was told of once, when it failed.
    if (store && !store->Failed() && !store->Finish(QDateTime::currentMSecsSinceEpoch())) {
        Say(io, QStringLiteral("the store '%1' cannot be written: %2")
                    .arg(store->Path(), store->FailureReason()));
        if (result == ExitCode::Success) result = ExitCode::Failed;
    }
    if (stop.Requested()) return StopSignals::Received() != 0 ? StoppedExit() : result;
    if (timedOut) {
        Say(io, QStringLiteral("no meter answered on %1 for %2 s")
                    .arg(devices.join(QStringLiteral(", ")))
                    .arg(arguments.timeoutSeconds));
        if (!named.isEmpty()) {
            if (const QString problem = session.DeviceProblem(named); !problem.isEmpty())
                Say(io, problem);
        }
        return ExitCode::NoMeter;
    }
    return result;
}

ExitCode RunLive(const CliArguments& arguments, MeterAccess& access, CliIo& io, StopSignals& stop) {
    return WithAppendedOutput(
        arguments.output, io, [&stop] { return stop.Requested(); },
        [&](CliIo& rowsIo) { return LiveRows(arguments, access, rowsIo, stop); });
}

}  // namespace kr820::cli
