// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The numbers and byte texts of the emulator's options, console commands and fault fields.
namespace kr820::emulator {

// "21.5" or "-3" degrees Celsius to tenths, rounded to the nearest tenth; false for text that is
// not a number or a value the meter's 16-bit field cannot carry.
bool ParseTenthsC(std::string_view text, std::int16_t* tenthsC);

// A whole decimal number within [low, high].
bool ParseInteger(std::string_view text, int low, int high, int* value);

// Text with \xHH for any byte and \\ for a backslash, e.g. "\x02K820" (five bytes).
bool ParseEscapedBytes(std::string_view text, std::string* bytes);

}  // namespace kr820::emulator
