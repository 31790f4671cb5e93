// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

#include "core/protocol/command_table.h"

namespace kr820::core {

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;

// Commands carry 1 to 16 body bytes; the body is not escaped and may hold 0x00, 0x03 or 0xAA.
inline constexpr int kMaxCommandBodyBytes = 16;

// (sum of the body bytes modulo 256) OR 0x80: bit 7 is always set.
std::uint8_t CommandChecksum(QByteArrayView body);

// STX, body, checksum, ETX: body.size() + 3 bytes.
QByteArray FrameCommand(QByteArrayView body);

// A command's body as the table holds it: the whole body, or the fixed start of one that
// carries data.
constexpr QByteArrayView BodyOf(const MeterCommand& command) {
    return QByteArrayView(command.body.data(), static_cast<qsizetype>(command.body.size()));
}

}  // namespace kr820::core
