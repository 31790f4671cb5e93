// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>

namespace kr820::link {

class TComPort;

// Frames the body (STX, body, checksum, ETX) and writes it in one write, without waiting for it
// to leave. Returns false when the port refused the write; the failure is otherwise silent.
bool SendCommand(TComPort& port, QByteArrayView body);

// Port operations whose failure the caller ignores; they report whether they worked.
bool TryOpen(TComPort& port);
void TryClose(TComPort& port);
bool TrySetDeviceName(TComPort& port, const QString& name);
bool TrySetBaudRate(TComPort& port, int bitsPerSecond);

}  // namespace kr820::link
