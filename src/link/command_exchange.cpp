// SPDX-License-Identifier: MIT
#include "link/command_exchange.h"

#include "core/protocol/command_frame.h"
#include "core/protocol/exchange_limits.h"
#include "link/clock.h"
#include "link/port_attempts.h"

namespace kr820::link {
namespace {

using std::chrono::milliseconds;

// Longest wait between two looks while nothing has arrived; bytes that do arrive end it.
constexpr milliseconds kIdleLook{20};
// While part of a reply is there, the rest comes at about half a millisecond a byte.
constexpr milliseconds kPartialLook{1};

bool Reached(int count, int expected, InputTarget target) {
    return target == InputTarget::EqualTo ? count == expected : count >= expected;
}

// One attempt: true when the echo matched; otherwise the abort frame has gone out.
bool WriteAndCompareEcho(Port& port, Clock& clock, const QByteArray& frameBody,
                         const core::MeterCommand& command) {
    const QByteArray sent = core::FrameCommand(frameBody);
    const int length = static_cast<int>(sent.size());
    const int span = command.comparedLast - command.comparedFirst + 1;
    port.PurgeInput();
    SendCommand(port, frameBody);
    if (WaitForInput(port, clock, length, InputTarget::AtLeast, command.replyLimit) == length) {
        const QByteArray echo = port.Read(length);
        if (echo.size() == length &&
            echo.mid(command.comparedFirst, span) == sent.mid(command.comparedFirst, span))
            return true;
    }
    port.Write(core::FrameCommand(core::BodyOf(core::kAbort)));
    return false;
}

}  // namespace

int WaitForInput(Port& port, Clock& clock, int expected, InputTarget target, milliseconds limit) {
    const Clock::TimePoint start = clock.Now();
    int count = port.InputCount();
    while (!Reached(count, expected, target) && !clock.Stopping()) {
        const milliseconds left = Remaining(clock, start, limit);
        if (left.count() <= 0) break;
        if (count == 0) {
            port.WaitForReadable(std::min(left, kIdleLook));
        } else {
            clock.Sleep(std::min(left, kPartialLook));
        }
        count = port.InputCount();
    }
    return count;
}

bool VerifiedWrite(Port& port, Clock& clock, const QByteArray& frameBody,
                   const core::MeterCommand& command) {
    for (int attempt = 0; attempt < core::kExchangeLimits.writeAttempts && !clock.Stopping();
         ++attempt) {
        bool echoed = false;
        // A port failure ends this attempt like a wrong echo does.
        Attempt(QStringLiteral("a verified write"), port,
                [&] { echoed = WriteAndCompareEcho(port, clock, frameBody, command); });
        if (echoed) return true;
        // Surplus bytes go with the purge that begins the next attempt.
        clock.Pause(core::kExchangeLimits.abortSettle);
    }
    return false;
}

DetachedRxChar::DetachedRxChar(DevicePort& port) : m_port(port), m_handler(port.OnRxChar()) {
    port.SetOnRxChar(nullptr);
}

DetachedRxChar::~DetachedRxChar() { m_port.SetOnRxChar(std::move(m_handler)); }

}  // namespace kr820::link
