// SPDX-License-Identifier: MIT
#include "live_reply.h"

#include "meter_replies.h"

namespace kr820::emulator {

std::string BuildLiveReply(const MeterState& state, LiveReplyFaults* faults) {
    std::string reply;
    const int frames = faults->doubleFrames ? 2 : 1;
    for (int i = 0; i < frames; ++i) {
        std::string frame = EncodeLiveFrame(state);
        if (faults->wrongLastByteFrames > 0) {
            frame.back() = kWrongLastByte;
            --faults->wrongLastByteFrames;
        }
        reply += faults->noise;
        reply += frame;
    }
    return reply;
}

}  // namespace kr820::emulator
