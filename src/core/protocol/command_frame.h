// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

namespace kr820::core {

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;

// Commands carry 1 to 16 body bytes; the body is not escaped and may hold 0x00, 0x03 or 0xAA.
inline constexpr int kMaxCommandBodyBytes = 16;

// (sum of the body bytes modulo 256) OR 0x80: bit 7 is always set.
std::uint8_t CommandChecksum(QByteArrayView body);

// STX, body, checksum, ETX: body.size() + 3 bytes.
QByteArray FrameCommand(QByteArrayView body);

// Sent after a verified write failed, before the next attempt. Not a framed body: it is the
// frame as the meter expects it.
inline const QByteArray kAbortFrame = QByteArray::fromHex("02AAAA03");

}  // namespace kr820::core
