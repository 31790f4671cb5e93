// SPDX-License-Identifier: MIT
// The meter's settable state under the names the command line (--NAME) and the console
// (set NAME ...) share, so the two cannot drift apart.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "meter_state.h"

namespace kr820::emulator {

// On/off fields: status bits and the channels' invalid bytes. False for an unknown name.
bool SetFlag(MeterState* state, std::string_view name, bool on);
std::vector<std::string_view> FlagNames();

// Temperatures: t1, t2, t1-rel, t2-rel, t1-min, t1-max, t2-min, t2-max. Sets that one field
// only. False for an unknown name.
bool SetTemperature(MeterState* state, std::string_view name, std::int16_t tenthsC);

// Display mode 0 normal, 1 MAX, 2 MIN, 3 MAX and MIN blinking; false outside 0..3.
bool SetDisplayMode(MeterState* state, int mode);
int DisplayMode(const MeterState& state);

}  // namespace kr820::emulator
