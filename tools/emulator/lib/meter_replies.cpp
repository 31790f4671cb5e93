// SPDX-License-Identifier: MIT
#include "meter_replies.h"

#include <cstdint>

#include "command_frame.h"

namespace kr820::emulator {
namespace {

void AppendBigEndian(std::string* out, std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);  // two's complement on the wire
    out->push_back(static_cast<char>(bits >> 8));
    out->push_back(static_cast<char>(bits & 0xFF));
}

}  // namespace

std::string EncodeLiveFrame(const MeterState& state) {
    std::string frame;
    frame.reserve(kLiveFrameBytes);
    frame.push_back(kStx);
    frame.push_back(static_cast<char>(state.statusA));
    frame.push_back(static_cast<char>(state.statusB));
    // Channels interleave: T1 then T2 for each quantity.
    AppendBigEndian(&frame, state.t1.tenthsC);
    AppendBigEndian(&frame, state.t2.tenthsC);
    AppendBigEndian(&frame, state.t1.relTenthsC);
    AppendBigEndian(&frame, state.t2.relTenthsC);
    AppendBigEndian(&frame, state.t1.minTenthsC);
    AppendBigEndian(&frame, state.t2.minTenthsC);
    AppendBigEndian(&frame, state.t1.maxTenthsC);
    AppendBigEndian(&frame, state.t2.maxTenthsC);
    // The invalid flags come in the opposite order: T2 first.
    frame.push_back(static_cast<char>(state.t2.invalid));
    frame.push_back(static_cast<char>(state.t1.invalid));
    frame.push_back(static_cast<char>(state.spareByte21));
    frame.push_back(kEtx);
    return frame;
}

std::string ModelReply() { return std::string{kStx, 'K', '8', '2', '0', kEtx}; }

}  // namespace kr820::emulator
