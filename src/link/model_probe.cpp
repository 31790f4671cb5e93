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

QString ModelNamedIn(QByteArrayView reply) {
    if (reply.startsWith('\x02')) reply = reply.sliced(1);
    if (reply.endsWith('\x03')) reply.chop(1);
    if (reply.startsWith(QByteArrayView(core::kModelQuery.body.data(),
                                        static_cast<qsizetype>(core::kModelQuery.body.size()))))
        reply = reply.sliced(static_cast<qsizetype>(core::kModelQuery.body.size()));
    QString model;
    for (const char c : reply) {
        const auto byte = static_cast<unsigned char>(c);
        model += byte >= 0x20 && byte < 0x7f
                     ? QString(QLatin1Char(c))
                     : QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return model;
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
