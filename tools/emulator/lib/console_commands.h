// SPDX-License-Identifier: MIT
// The program's standard input: one command a line, to change the meter while an application
// talks to it (a demonstration, or a test driving the program).
#pragma once

#include <string>
#include <string_view>

namespace kr820::emulator {

class MeterEmulator;

struct ConsoleReply {
    std::string text;  // one line: "ok", "ok <detail>" or "error: <reason>"
    bool quit = false;
};

ConsoleReply ExecuteConsoleLine(std::string_view line, MeterEmulator* emulator);

// The command list, for --help and the "help" command.
std::string ConsoleHelpText();

}  // namespace kr820::emulator
