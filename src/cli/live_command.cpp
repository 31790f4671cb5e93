// SPDX-License-Identifier: MIT
#include "cli/live_command.h"

#include <QDateTime>
#include <QEventLoop>

#include "cli/live_rows.h"
#include "cli/meter_session.h"
#include "cli/reading_pacer.h"
#include "cli/stop_signals.h"

namespace kr820::cli {

ExitCode RunLive(const CliArguments& arguments, MeterAccess& access, CliIo& io,
                 StopSignals& stop) {
    const QStringList devices = MeterSession::DevicesToSearch(arguments.device);
    if (devices.isEmpty()) {
        Say(io, QStringLiteral("no serial devices to search; name one with --device"));
        return ExitCode::NoMeter;
    }
    MeterSession session(access.comm1, access.clock, io, access.tick);
    core::RowLayout layout{arguments.format, false, {}};
    const QByteArray header = io.outContinuesFile ? QByteArray() : core::HeaderLine(layout);
    if (io.out.write(header) != header.size()) return ExitCode::Failed;

    QEventLoop loop;
    ExitCode result = ExitCode::Success;
    ReadingPacer pacer{std::chrono::seconds(arguments.everySeconds)};
    int printed = 0;
    session.SetOnReading([&](const core::LiveReading& reading) {
        if (stop.Requested() || !pacer.Take(access.clock.Now())) return;
        layout.Device = session.DeviceName();
        // The instant, in whole seconds cut rather than rounded (a row never carries a time
        // still to come): the local time and its offset are those in force at it.
        const QByteArray line =
            core::RowLine(RowOfReading(reading, QDateTime::currentSecsSinceEpoch()), layout);
        if (io.out.write(line) != line.size()) {
            result = ExitCode::Failed;  // stdout went away: nobody reads on
            loop.quit();
            return;
        }
        if (arguments.count > 0 && ++printed >= arguments.count) loop.quit();
    });
    QObject::connect(&stop, &StopSignals::StopRequested, &loop, &QEventLoop::quit);

    if (!session.Find(devices))
        Say(io, QStringLiteral("no meter answers on %1; waiting for one")
                    .arg(devices.join(QStringLiteral(", "))));
    session.ReportLinkChanges();
    if (!stop.Requested()) loop.exec();
    return result;
}

}  // namespace kr820::cli
