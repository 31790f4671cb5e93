// SPDX-License-Identifier: MIT
#include "core/protocol/command_frame.h"

namespace kr820::core {

std::uint8_t CommandChecksum(QByteArrayView body) {
    unsigned sum = 0;
    for (const char byte : body) sum += static_cast<std::uint8_t>(byte);
    return static_cast<std::uint8_t>((sum & 0xFFu) | 0x80u);
}

QByteArray FrameCommand(QByteArrayView body) {
    Q_ASSERT(!body.isEmpty() && body.size() <= kMaxCommandBodyBytes);
    QByteArray frame;
    frame.reserve(body.size() + 3);
    frame.append(kStx);
    frame.append(body.data(), body.size());
    frame.append(static_cast<char>(CommandChecksum(body)));
    frame.append(kEtx);
    return frame;
}

}  // namespace kr820::core
