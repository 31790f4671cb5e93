// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
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

// Every command the program sends, in the order of the table below.
enum class Command {
    ModelQuery,
    Poll,
    ReadSetup,
    WriteSetupByte,
    SetClock,
    ResetMeter,
    EraseMemory,
    MemoryHeader,
    StartDownload,
    BlockAccepted,
    BlockRefused,
    Abort,
    Count,
};

// One row per command. Bodies whose frames depend on data (setup bytes, the clock) hold only
// their fixed start; their frame length is given by `frameBytes`.
struct MeterCommand {
    Command id;
    std::string_view name;
    std::string_view body;
    int frameBytes;  // STX + body + checksum + ETX
    ReplyKind reply;
    int replyBytes;     // expected reply length (L)
    int comparedFirst;  // echo bytes compared with the sent frame, inclusive
    int comparedLast;
    std::chrono::milliseconds replyLimit;  // time limit of one reply wait
};

using std::chrono_literals::operator""ms;

// clang-format off
inline constexpr MeterCommand kMeterCommands[] = {
//   id                        name                body        frame reply                 replyB cmpF cmpL limit
    {Command::ModelQuery,     "model query",      "K",            4, ReplyKind::FixedReply,  6,   0,  -1,  500ms},
    {Command::Poll,           "poll",             "A",            4, ReplyKind::LiveFrame,  23,   0,  -1, 1000ms},
    {Command::ReadSetup,      "read setup",       "O",            4, ReplyKind::FixedReply, 86,   0,  -1, 3000ms},
    {Command::WriteSetupByte, "write setup byte", "wE",          16, ReplyKind::Echo,       16,   0,  13, 3000ms},
    {Command::SetClock,       "set clock",        "WRTC",        19, ReplyKind::Echo,       19,   3,  16, 3000ms},
    {Command::ResetMeter,     "reset meter",      "ROPT",         7, ReplyKind::Echo,        7,   0,   4, 3000ms},
    {Command::EraseMemory,    "erase memory",     "CLRM",         7, ReplyKind::Echo,        7,   0,   4, 3000ms},
    {Command::MemoryHeader,   "memory header",    "HEAD",         7, ReplyKind::FixedReply, 26,   0,   4, 2000ms},
    {Command::StartDownload,  "start download",   "DOWN",         7, ReplyKind::Blocks,     35,   0,  -1, 3000ms},
    {Command::BlockAccepted,  "block accepted",   "y\x03WN",      7, ReplyKind::Blocks,     35,   0,  -1, 3000ms},
    {Command::BlockRefused,   "block refused",    "n\x03WN",      7, ReplyKind::Blocks,     35,   0,  -1, 3000ms},
    // Sent after a failed verified write, before the next attempt; its checksum equals its body.
    {Command::Abort,          "abort",            "\xAA",         4, ReplyKind::None,        0,   0,  -1,    0ms},
};
// clang-format on

constexpr const MeterCommand& CommandOf(Command id) {
    return kMeterCommands[static_cast<std::size_t>(id)];
}

constexpr bool RowsFollowTheirIds() {
    for (std::size_t i = 0; i < std::size(kMeterCommands); ++i)
        if (static_cast<std::size_t>(kMeterCommands[i].id) != i) return false;
    return std::size(kMeterCommands) == static_cast<std::size_t>(Command::Count);
}
static_assert(RowsFollowTheirIds(), "one row per command, in the order of Command");

inline constexpr const MeterCommand& kModelQuery = CommandOf(Command::ModelQuery);
inline constexpr const MeterCommand& kPoll = CommandOf(Command::Poll);
inline constexpr const MeterCommand& kReadSetup = CommandOf(Command::ReadSetup);
inline constexpr const MeterCommand& kWriteSetupByte = CommandOf(Command::WriteSetupByte);
inline constexpr const MeterCommand& kSetClock = CommandOf(Command::SetClock);
inline constexpr const MeterCommand& kResetMeter = CommandOf(Command::ResetMeter);
inline constexpr const MeterCommand& kEraseMemory = CommandOf(Command::EraseMemory);
inline constexpr const MeterCommand& kMemoryHeader = CommandOf(Command::MemoryHeader);
inline constexpr const MeterCommand& kStartDownload = CommandOf(Command::StartDownload);
inline constexpr const MeterCommand& kBlockAccepted = CommandOf(Command::BlockAccepted);
inline constexpr const MeterCommand& kBlockRefused = CommandOf(Command::BlockRefused);
inline constexpr const MeterCommand& kAbort = CommandOf(Command::Abort);

// What the sizes of the replies are made of.
inline constexpr int kModelReplyBytes = kModelQuery.replyBytes;
// The model query's reply names the model somewhere in its bytes.
inline constexpr std::string_view kModelMark = "820";
inline constexpr int kLiveFrameBytes = kPoll.replyBytes;
inline constexpr int kHeaderReplyBytes = kMemoryHeader.replyBytes;
// A block: a byte, the memory bytes, a checksum, a byte.
inline constexpr int kBlockBytes = kStartDownload.replyBytes;
inline constexpr int kBlockPayloadBytes = kBlockBytes - 3;
inline constexpr int kBlockChecksumOffset = kBlockBytes - 2;

}  // namespace kr820::core
