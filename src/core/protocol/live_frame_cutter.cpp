// SPDX-License-Identifier: MIT
#include "core/protocol/live_frame_cutter.h"

#include "core/protocol/command_frame.h"

namespace kr820::core {

void CutLiveFrames(QByteArray& buffer,
                   const std::function<void(const QByteArray& frame)>& onFrame) {
    while (buffer.size() >= kLiveFrameBytes) {
        const qsizetype start = buffer.indexOf(kStx);
        if (start < 0) {
            buffer.clear();
        } else if (start > 0) {
            buffer.remove(0, start);
        } else if (buffer.at(kLiveFrameBytes - 1) != kEtx) {
            buffer.remove(0, 1);
        } else {
            const QByteArray frame = buffer.left(kLiveFrameBytes);
            buffer.remove(0, kLiveFrameBytes);
            onFrame(frame);
        }
    }
}

}  // namespace kr820::core
