// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <functional>

namespace kr820::core {

// The meter's answer to a poll: 23 bytes from STX to ETX. No checksum is carried.
inline constexpr int kLiveFrameBytes = 23;

// Cuts whole live frames from the front of `buffer`, handing each to `onFrame` in order, and
// drops what cannot start a frame: everything when there is no STX, the bytes before an STX, and
// one byte when an STX is not followed by an ETX 22 bytes on. Fewer than 23 bytes stay for the
// next call.
void CutLiveFrames(QByteArray& buffer, const std::function<void(const QByteArray& frame)>& onFrame);

}  // namespace kr820::core
