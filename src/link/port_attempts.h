// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>

#include "core/protocol/command_table.h"

namespace kr820::link {

class DevicePort;
class Port;

// Runs a port operation that the link survives when it fails: the failure, silent or not, is
// reported through kr820.link with its reason and `what` was attempted, and gives false, with
// the system's error code in `failureCode` when asked for.
template <typename Operation>
bool Attempt(const QString& what, Port& port, Operation operation, int* failureCode = nullptr);

// Frames the body (STX, body, checksum, ETX) and writes it in one write, without waiting for it
// to leave. False when the port refused the write.
bool SendCommand(Port& port, QByteArrayView body);
// A command whose body is fixed, as the table holds it.
bool SendCommand(Port& port, const core::MeterCommand& command);

// False when the port stayed closed; `failureCode` then holds the system's error code (0 when
// the failure was not the system's).
[[nodiscard]] bool TryOpen(DevicePort& port, int* failureCode = nullptr);
// For callers with nothing to do about a port that stays closed: the report is all, and the
// supervision shows the link lost.
void OpenOrReport(DevicePort& port);

// Reports a failure of `what` with its reason; the templates' common part.
void ReportPortFailure(const QString& what, const Port& port, const QString& reason);

}  // namespace kr820::link

#include "link/port_attempts_impl.h"
