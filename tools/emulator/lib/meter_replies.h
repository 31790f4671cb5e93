// SPDX-License-Identifier: MIT
// The meter's answers, built byte by byte from the wire layout, independent of the application's
// decoders so that a decoder fault cannot cancel itself out.
#pragma once

#include <cstddef>
#include <string>

#include "meter_state.h"

namespace kr820::emulator {

inline constexpr std::size_t kLiveFrameBytes = 23;
inline constexpr std::size_t kModelReplyBytes = 6;

// STX, status A, status B, T1, T2, T1 REL, T2 REL, T1 MIN, T2 MIN, T1 MAX, T2 MAX (big-endian
// int16 tenths of a degree C), T2 invalid (byte 19), T1 invalid (byte 20), byte 21, ETX.
std::string EncodeLiveFrame(const MeterState& state);

// STX 'K' '8' '2' '0' ETX: the PC only looks for "820" in the first six bytes.
std::string ModelReply();

}  // namespace kr820::emulator
