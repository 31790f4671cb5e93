// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kr820::core {

// A data set's flags byte; bits other than these carry nothing for the program.
inline constexpr std::uint8_t kFahrenheitFlag = 0x40;
inline constexpr std::uint8_t kTypeJBits = 0x03;  // either bit set means type J

constexpr bool IsFahrenheit(std::uint8_t flags) { return (flags & kFahrenheitFlag) != 0; }
constexpr bool IsTypeJ(std::uint8_t flags) { return (flags & kTypeJBits) != 0; }

constexpr const char* UnitText(std::uint8_t flags) { return IsFahrenheit(flags) ? "F" : "C"; }
constexpr const char* TypeText(std::uint8_t flags) { return IsTypeJ(flags) ? "J" : "K"; }

}  // namespace kr820::core
