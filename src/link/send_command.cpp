// SPDX-License-Identifier: MIT
#include "link/send_command.h"

#include "core/protocol/command_frame.h"
#include "link/com_port.h"

namespace kr820::link {
namespace {

// Runs a port operation whose errors are to be ignored: the ports' error handlers make every
// failure silent, and some callers also see the plain error.
template <typename Operation>
bool Attempt(Operation operation) {
    try {
        operation();
        return true;
    } catch (const EAbort&) {
    } catch (const EComError&) {
    }
    return false;
}

}  // namespace

bool SendCommand(TComPort& port, QByteArrayView body) {
    const QByteArray frame = core::FrameCommand(body);
    return Attempt([&] { port.Write(frame); });
}

bool TryOpen(TComPort& port) {
    return Attempt([&] { port.Open(); }) && port.Active();
}

void TryClose(TComPort& port) {
    Attempt([&] { port.Close(); });
}

bool TrySetDeviceName(TComPort& port, const QString& name) {
    return Attempt([&] { port.SetDeviceName(name); });
}

bool TrySetBaudRate(TComPort& port, int bitsPerSecond) {
    return Attempt([&] { port.SetBaudRate(bitsPerSecond); });
}

}  // namespace kr820::link
