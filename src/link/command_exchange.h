// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <chrono>

#include "core/protocol/command_table.h"
#include "link/port.h"

namespace kr820::link {

class Clock;

enum class InputTarget { EqualTo, AtLeast };

// Looks at the port's input count until it reaches `expected` (exactly, or at least) or `limit`
// has passed on the clock, and returns the last count. Processes no events, so no receive
// handler can take the reply; between looks it waits on the port instead of spinning.
int WaitForInput(Port& port, Clock& clock, int expected, InputTarget target,
                 std::chrono::milliseconds limit);

// Sends a framed command and checks the meter's echo, up to three attempts with the abort frame,
// a settling pause and a purge between them. `frameBody` is the whole body as sent.
bool VerifiedWrite(Port& port, Clock& clock, const QByteArray& frameBody,
                   const core::MeterCommand& command);

// Keeps the live receive handler away from the port while an exchange owns it; restores the
// handler it found when it goes.
class DetachedRxChar {
public:
    explicit DetachedRxChar(DevicePort& port);
    ~DetachedRxChar();
    DetachedRxChar(const DetachedRxChar&) = delete;
    DetachedRxChar& operator=(const DetachedRxChar&) = delete;

private:
    DevicePort& m_port;
    DevicePort::RxCharHandler m_handler;
};

}  // namespace kr820::link
