// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace kr820::core {

// How the meter answers a command.
enum class ReplyKind {
    None,        // nothing comes back
    Echo,        // the meter echoes the frame; the compared range must match what was sent
    FixedReply,  // a reply of exactly `replyBytes`
    LiveFrame,   // one live frame
    Blocks,      // the logger memory in blocks
};

// One line per command the program sends. Bodies whose frames depend on data (setup bytes, the
// clock) hold only their fixed start; their frame length is given by `frameBytes`.
struct CommandSpec {
    std::string_view name;
    std::string_view body;
    int frameBytes;  // STX + body + checksum + ETX
    ReplyKind reply;
    int replyBytes;     // expected reply length (L)
    int comparedFirst;  // echo bytes compared with the sent frame, inclusive
    int comparedLast;
    int replyLimitMs;  // time limit of one reply wait
};

// name            body        frame reply                replyB cmpF cmpL limit
inline constexpr CommandSpec kModelQuery{
    "model query", "K", 4, ReplyKind::FixedReply, 6, 0, -1, 500};
inline constexpr CommandSpec kPoll{"poll", "A", 4, ReplyKind::LiveFrame, 23, 0, -1, 1000};
inline constexpr CommandSpec kReadSetup{"read setup", "O", 4,  ReplyKind::FixedReply,
                                        86,           0,   -1, 3000};
inline constexpr CommandSpec kWriteSetupByte{
    "write setup byte", "wE", 16, ReplyKind::Echo, 16, 0, 13, 3000};
inline constexpr CommandSpec kSetClock{"set clock", "WRTC", 19, ReplyKind::Echo, 19, 3, 16, 3000};
inline constexpr CommandSpec kResetMeter{"reset meter", "ROPT", 7, ReplyKind::Echo, 7, 0, 4, 3000};
inline constexpr CommandSpec kEraseMemory{
    "erase memory", "CLRM", 7, ReplyKind::Echo, 7, 0, 4, 3000};
inline constexpr CommandSpec kMemoryHeader{
    "memory header", "HEAD", 7, ReplyKind::FixedReply, 26, 0, 4, 2000};
inline constexpr CommandSpec kStartDownload{
    "start download", "DOWN", 7, ReplyKind::Blocks, 35, 0, -1, 3000};
inline constexpr CommandSpec kBlockAccepted{
    "block accepted", "y\x03WN", 7, ReplyKind::Blocks, 35, 0, -1, 3000};
inline constexpr CommandSpec kBlockRefused{
    "block refused", "n\x03WN", 7, ReplyKind::Blocks, 35, 0, -1, 3000};

}  // namespace kr820::core
