// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kr820::core {

// Thermocouple ranges in tenths of a degree Celsius: the meter stores tenths, and comparing them
// as integers keeps 1370.0 inside and 1370.1 outside without rounding doubts.
inline constexpr std::int32_t kTypeKMaxTenthsCelsius = 13700;
inline constexpr std::int32_t kTypeJMaxTenthsCelsius = 7600;
inline constexpr std::int32_t kMinTenthsCelsius = -2000;

// Two bytes of a logger sample, big-endian two's complement: tenths of a degree Celsius.
constexpr std::int32_t DecodeSample(std::uint8_t high, std::uint8_t low) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((high << 8) | low));
}

// The value the store keeps for a sample of a set with these flags: the limit markers when out of
// the type's range (tested in Celsius), otherwise degrees of the set's unit.
float StoredSampleValue(std::int32_t tenthsCelsius, std::uint8_t flags);

}  // namespace kr820::core
