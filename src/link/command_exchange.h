// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <chrono>
#include <functional>

#include "core/protocol/command_table.h"

namespace kr820::link {

class TComPort;

enum class InputTarget { EqualTo, AtLeast };

// Looks at the port's input count until it reaches `expected` (exactly, or at least) or `limit`
// has passed on a monotonic clock, and returns the last count. Processes no events, so no
// receive handler can take the reply; between looks it sleeps on the port instead of spinning.
int WaitForInput(TComPort& port, int expected, InputTarget target, std::chrono::milliseconds limit);

// Sends a framed command and checks the meter's echo, up to three attempts with the abort frame,
// a 200 ms settle and a purge between them. `frameBody` is the whole body as sent.
bool VerifiedWrite(TComPort& port, const QByteArray& frameBody, const core::CommandSpec& command);

// Keeps the live receive handler away from the port while an exchange owns it; restores the
// handler it found when it goes.
class DetachedRxChar {
public:
    explicit DetachedRxChar(TComPort& port);
    ~DetachedRxChar();
    DetachedRxChar(const DetachedRxChar&) = delete;
    DetachedRxChar& operator=(const DetachedRxChar&) = delete;

private:
    TComPort& m_port;
    std::function<void(TComPort&)> m_handler;
};

}  // namespace kr820::link
