// SPDX-License-Identifier: MIT
#include "link/model_probe.h"

#include "core/protocol/command_table.h"
#include "link/command_exchange.h"
#include "link/port.h"
#include "link/port_attempts.h"

namespace kr820::link {

bool IsModelReply(QByteArrayView reply) {
    const QByteArrayView mark(core::kModelMark.data(), core::kModelMark.size());
    return reply.size() == core::kModelReplyBytes && reply.contains(mark);
}

bool ProbeForMeter(DevicePort& port, Clock& clock) {
    if (!TryOpen(port)) return false;
    bool answered = false;
    Attempt(QStringLiteral("probing for the meter"), port, [&] {
        port.PurgeInput();
        SendCommand(port, core::kModelQuery);
        if (WaitForInput(port, clock, core::kModelReplyBytes, InputTarget::AtLeast,
                         core::kModelQuery.replyLimit) >= core::kModelReplyBytes)
            answered = IsModelReply(port.Read(core::kModelReplyBytes));
    });
    port.Close();
    return answered;
}

}  // namespace kr820::link
