// SPDX-License-Identifier: MIT
#include "link/port_attempts.h"

#include "core/protocol/command_frame.h"
#include "link/link_log.h"
#include "link/port.h"

namespace kr820::link {

namespace {

bool Send(Port& port, QByteArrayView body, const QString& what) {
    const QByteArray frame = core::FrameCommand(body);
    return Attempt(what, port, [&] { port.Write(frame); });
}

}  // namespace

void ReportPortFailure(const QString& what, const Port& port, const QString& reason) {
    qCWarning(lcLink).noquote() << what << "on" << port.DeviceName() << "failed:" << reason;
}

bool SendCommand(Port& port, QByteArrayView body) {
    return Send(port, body, QStringLiteral("sending a command"));
}

bool SendCommand(Port& port, const core::MeterCommand& command) {
    return Send(port, core::BodyOf(command),
                QStringLiteral("sending the %1")
                    .arg(QLatin1StringView(command.name.data(), command.name.size())));
}

bool TryOpen(DevicePort& port, int* failureCode) {
    if (failureCode) *failureCode = 0;
    return Attempt(
               QStringLiteral("opening the port"), port, [&] { port.Open(); }, failureCode) &&
           port.Active();
}

void OpenOrReport(DevicePort& port) {
    // TryOpen has reported a failure with its reason.
    [[maybe_unused]] const bool opened = TryOpen(port);
}

}  // namespace kr820::link
