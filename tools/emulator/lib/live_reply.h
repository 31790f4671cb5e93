// SPDX-License-Identifier: MIT
// Live answers spoiled on purpose, to put the application's frame cutter through what a noisy
// line does to a real meter's frames.
#pragma once

#include <chrono>
#include <string>

#include "meter_state.h"

namespace kr820::emulator {

// What a damaged frame ends with instead of ETX.
inline constexpr char kWrongLastByte = 0x05;
// Pieces a split answer is written in; three for one frame.
inline constexpr std::size_t kSplitPieceBytes = 8;

struct LiveReplyFaults {
    std::string noise;            // junk written in front of every live frame
    bool doubleFrames = false;    // each poll answered with two frames in one write
    int wrongLastByteFrames = 0;  // how many of the coming frames end with kWrongLastByte
    std::chrono::milliseconds splitGap{
        0};  // above zero: the answer goes out in pieces, this far apart
};

// The answer to one poll; spends one of faults->wrongLastByteFrames per damaged frame.
std::string BuildLiveReply(const MeterState& state, LiveReplyFaults* faults);

}  // namespace kr820::emulator
