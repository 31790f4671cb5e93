// SPDX-License-Identifier: MIT
// The setup faults that take a value, under the names the command line (--NAME VALUE) and the
// console (NAME VALUE|off) share.
#pragma once

#include <string>
#include <string_view>

#include "setup_answers.h"

namespace kr820::emulator {

// setup-echo-wrong-at N, refuse-setup-from ADDRESS.
bool IsSetupFaultName(std::string_view name);

// "off" switches the fault off. False, with the reason in *error, for an unknown name or a
// value that does not fit; *faults is then unchanged.
bool SetSetupFault(SetupFaults* faults, std::string_view name, std::string_view value,
                   std::string* error);

// A setup address 0x40..0x71, as "0x6E" or as decimal "110".
bool ParseSetupAddress(std::string_view text, int* address);

}  // namespace kr820::emulator
