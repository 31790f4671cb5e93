// SPDX-License-Identifier: MIT
#include "command_frame.h"

namespace kr820::emulator {
namespace {

struct CommandShape {
    std::uint8_t firstBodyByte;
    std::size_t bodyBytes;
};

// Every command the PC can send. A new command needs a line here before the parser lets it
// through, and a handler in the reply table before the meter answers it.
constexpr CommandShape kCommandShapes[] = {
    {'K', 1},   // model query
    {'A', 1},   // live poll
    {'O', 1},   // read setup record
    {'w', 13},  // "wE", address "%6.d", 0x00, value "%3.d", 0x00
    {'W', 16},  // "WRTC" and yymmddhhnnss
    {'R', 4},   // "ROPT": reset
    {'C', 4},   // "CLRM": erase memory
    {'H', 4},   // "HEAD": memory header
    {'D', 4},   // "DOWN": start download
    {'y', 4},   // 'y' 0x03 'W' 'N': block accepted
    {'n', 4},   // 'n' 0x03 'W' 'N': block refused
    {0xAA, 1},  // abort between verified-write attempts: 02 AA AA 03
};

}  // namespace

std::uint8_t CommandChecksum(std::string_view body) {
    unsigned sum = 0;
    for (const char byte : body) sum += static_cast<std::uint8_t>(byte);
    return static_cast<std::uint8_t>((sum & 0xFF) | 0x80);
}

std::string FrameCommand(std::string_view body) {
    std::string frame;
    frame.reserve(body.size() + 3);
    frame.push_back(kStx);
    frame.append(body);
    frame.push_back(static_cast<char>(CommandChecksum(body)));
    frame.push_back(kEtx);
    return frame;
}

std::optional<std::size_t> CommandBodyLength(std::uint8_t firstBodyByte) {
    for (const CommandShape& shape : kCommandShapes) {
        if (shape.firstBodyByte == firstBodyByte) return shape.bodyBytes;
    }
    return std::nullopt;
}

}  // namespace kr820::emulator
