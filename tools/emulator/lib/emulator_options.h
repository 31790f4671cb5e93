// SPDX-License-Identifier: MIT
// The command line of the kr820-emulator program.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "live_reply.h"
#include "logger_memory_builder.h"
#include "logger_transfer.h"
#include "meter_model.h"
#include "meter_state.h"
#include "setup_answers.h"

namespace kr820::emulator {

// Junk for --noise and the console's "noise on": it holds a stray STX two bytes in front of the
// frame, so a cutter has to drop one byte and then resynchronise on the real STX.
inline constexpr std::string_view kDefaultNoise = "\xFF\x55\x02\xAA";
// Gap between the pieces of a split answer: about the time of a few bytes at 19200 baud.
inline constexpr std::chrono::milliseconds kDefaultSplitGap{5};

struct EmulatorOptions {
    MeterState state;
    Motion motion;
    LiveReplyFaults faults;
    std::optional<std::string> modelReply;
    std::string linkPath;  // empty: no symlink
    // The logger memory: a collection file, or generated sets; neither: the default memory.
    std::string memoryFile;
    std::optional<std::vector<DataSet>> memorySets;
    std::string saveMemoryPath;  // write the memory as a collection file and exit
    DownloadFaults downloadFaults;
    SetupFaults setupFaults;
    bool paced = false;  // bytes at the pace of 19200 baud
    bool silent = false;
    bool help = false;
};

// args excludes the program name. On failure returns false with a one-line reason in *error.
bool ParseEmulatorOptions(const std::vector<std::string>& args, EmulatorOptions* options,
                          std::string* error);

}  // namespace kr820::emulator
