// SPDX-License-Identifier: MIT
// The command line of the kr820-emulator program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "meter_state.h"

namespace kr820::emulator {

struct EmulatorOptions {
    MeterState state;
    std::string linkPath;  // empty: no symlink
    bool silent = false;
    bool help = false;
};

// args excludes the program name. On failure returns false with a one-line reason in *error.
bool ParseEmulatorOptions(const std::vector<std::string>& args, EmulatorOptions* options,
                          std::string* error);

// "21.5" or "-3" degrees Celsius to tenths, rounded to the nearest tenth; false for text that is
// not a number or a value the meter's 16-bit field cannot carry.
bool ParseTenthsC(std::string_view text, std::int16_t* tenthsC);

std::string UsageText(std::string_view programName);

}  // namespace kr820::emulator
