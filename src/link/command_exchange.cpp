// SPDX-License-Identifier: MIT
#include "link/command_exchange.h"

#include <thread>

#include "core/protocol/command_frame.h"
#include "link/com_port.h"
#include "link/send_command.h"
#include "link/wait.h"

namespace kr820::link {
namespace {

constexpr int kWriteAttempts = 3;
constexpr int kAbortSettleMs = 200;
// Longest sleep between two looks while nothing has arrived; bytes that do arrive wake it.
constexpr std::chrono::milliseconds kIdleLook{20};
// While part of a reply is there, the rest comes at about half a millisecond a byte.
constexpr std::chrono::milliseconds kPartialLook{1};

bool Reached(int count, int expected, InputTarget target) {
    return target == InputTarget::EqualTo ? count == expected : count >= expected;
}

}  // namespace

int WaitForInput(TComPort& port, int expected, InputTarget target,
                 std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    int count = port.InputCount();
    while (!Reached(count, expected, target)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        if (count == 0) {
            port.WaitForReadable(std::min(left, kIdleLook));
        } else {
            std::this_thread::sleep_for(std::min(left, kPartialLook));
        }
        count = port.InputCount();
    }
    return count;
}

bool VerifiedWrite(TComPort& port, const QByteArray& frameBody, const core::CommandSpec& command) {
    const QByteArray sent = core::FrameCommand(frameBody);
    const int length = static_cast<int>(sent.size());
    const int span = command.comparedLast - command.comparedFirst + 1;
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        try {
            port.PurgeInput();
            SendCommand(port, frameBody);
            const int count = WaitForInput(port, length, InputTarget::AtLeast,
                                           std::chrono::milliseconds(command.replyLimitMs));
            if (count == length) {
                const QByteArray echo = port.Read(length);
                if (echo.size() == length &&
                    echo.mid(command.comparedFirst, span) == sent.mid(command.comparedFirst, span))
                    return true;
            }
            port.Write(core::kAbortFrame);
        } catch (const EAbort&) {
        } catch (const EComError&) {
        }
        // A failed attempt: surplus bytes go with the purge that begins the next one.
        WaitMs(kAbortSettleMs);
    }
    return false;
}

DetachedRxChar::DetachedRxChar(TComPort& port) : m_port(port) {
    m_handler = port.OnRxChar();
    port.SetOnRxChar(nullptr);
}

DetachedRxChar::~DetachedRxChar() { m_port.SetOnRxChar(std::move(m_handler)); }

}  // namespace kr820::link
