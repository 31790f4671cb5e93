// SPDX-License-Identifier: MIT
#include "core/setup/setup_frames.h"

#include "core/protocol/command_table.h"
#include "core/setup/meter_setup.h"

namespace kr820::core {
namespace {

// C's "%<width>.d": at least `width` characters, and no digit at all for 0.
QByteArray DecimalField(int value, int width) {
    const QByteArray digits = value == 0 ? QByteArray() : QByteArray::number(value);
    return digits.rightJustified(width, ' ');
}

QByteArray Body(const MeterCommand& command) {
    return QByteArray(command.body.data(), static_cast<qsizetype>(command.body.size()));
}

}  // namespace

QByteArray WriteSetupByteBody(int address, int value) {
    QByteArray body = Body(kWriteSetupByte);
    body += DecimalField(address, 6);
    body += '\0';
    body += DecimalField(value, 3);
    body += '\0';
    return body;
}

QByteArray SetClockBody(const QDateTime& clock) {
    QByteArray body = Body(kSetClock);
    for (const char bcd : EncodeBcdDateTime(clock)) {
        const auto byte = static_cast<unsigned char>(bcd);
        body += static_cast<char>((byte >> 4) + 0x30);
        body += static_cast<char>((byte & 0x0F) + 0x30);
    }
    return body;
}

}  // namespace kr820::core
