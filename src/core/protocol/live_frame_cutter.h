// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <functional>

#include "core/protocol/command_table.h"

namespace kr820::core {

// The meter's answer to a poll (kLiveFrameBytes from STX to ETX) carries no checksum.
// Cuts whole live frames from the front of `buffer`, handing each to `onFrame` in order, and
// drops what cannot start a frame: everything when there is no STX, the bytes before an STX, and
// one byte when an STX is not followed by an ETX where the frame ends. A partial frame stays for
// the next call.
void CutLiveFrames(QByteArray& buffer, const std::function<void(const QByteArray& frame)>& onFrame);

}  // namespace kr820::core
