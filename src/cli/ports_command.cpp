// SPDX-License-Identifier: MIT
#include "cli/ports_command.h"

#include "cli/meter_session.h"
#include "cli/stoppable_clock.h"
#include "link/com_devices.h"
#include "link/model_probe.h"
#include "link/port.h"
#include "link/port_attempts.h"

namespace kr820::cli {

ExitCode RunPorts(const CliArguments& arguments, const PortMaker& makePort, link::Clock& clock,
                  CliIo& io) {
    const QStringList devices = MeterSession::DevicesToSearch({});
    if (!arguments.probe) {
        QByteArray names;
        for (const QString& device : devices)
            names += (link::ComDeviceName(device) + u'\n').toUtf8();
        return WriteOut(io, names) ? ExitCode::Success : ExitCode::Failed;
    }
    int meters = 0;
    for (const QString& device : devices) {
        if (clock.Stopping()) return StoppedExit();
        const QString name = link::ComDeviceName(device);
        std::unique_ptr<link::DevicePort> port = makePort();
        link::Attempt(QStringLiteral("naming the port"), *port, [&] { port->SetDeviceName(name); });
        const bool meter = link::ProbeForMeter(*port, clock);
        if (meter) ++meters;
        if (!WriteOut(
                io,
                (name + (meter ? QStringLiteral("\tmeter\n") : QStringLiteral("\t-\n"))).toUtf8()))
            return ExitCode::Failed;
    }
    if (clock.Stopping()) return StoppedExit();
    if (meters == 0) {
        Say(io, QStringLiteral("no meter answered"));
        return ExitCode::NoMeter;
    }
    return ExitCode::Success;
}

}  // namespace kr820::cli
