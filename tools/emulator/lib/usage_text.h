// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kr820::emulator {

// The program's --help: every option and every command it reads on standard input.
std::string UsageText(std::string_view programName);

}  // namespace kr820::emulator
