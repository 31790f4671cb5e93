// SPDX-License-Identifier: MIT
// Command frames as the meter receives them: STX, body, checksum, ETX.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kr820::emulator {

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;

// (sum of the body bytes modulo 256) OR 0x80.
std::uint8_t CommandChecksum(std::string_view body);

// STX, body, checksum, ETX. The meter never sends these; tests and tools use it to talk to it.
std::string FrameCommand(std::string_view body);

// Bodies are not escaped and may hold 0x03, so a frame's length comes from its first body byte,
// never from looking for ETX. Empty for a byte that starts no known command.
std::optional<std::size_t> CommandBodyLength(std::uint8_t firstBodyByte);

}  // namespace kr820::emulator
