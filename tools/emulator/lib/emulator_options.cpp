// SPDX-License-Identifier: MIT
#include "emulator_options.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "download_fault_fields.h"
#include "emulator_numbers.h"
#include "memory_recipe.h"
#include "meter_fields.h"
#include "setup_fault_fields.h"

namespace kr820::emulator {
namespace {

bool IsTemperatureOption(std::string_view name) {
    MeterState scratch;
    return SetTemperature(&scratch, name, 0);
}

bool ParseSeconds(std::string_view text, std::chrono::milliseconds* duration) {
    double seconds = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, seconds);
    if (failure != std::errc{} || stop != end || !std::isfinite(seconds) || seconds < 0 ||
        seconds > 1e9) {
        return false;
    }
    *duration = std::chrono::milliseconds(std::llround(seconds * 1000.0));
    return true;
}

}  // namespace

bool ParseEmulatorOptions(const std::vector<std::string>& args, EmulatorOptions* options,
                          std::string* error) {
    // Temperatures wait until the end: --t1 starts a fresh MIN/MAX at the reading, and an
    // explicit --t1-min must win whichever comes first on the line.
    std::vector<std::pair<std::string, std::int16_t>> readings;
    std::vector<std::pair<std::string, std::int16_t>> others;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string name = arg.starts_with("--") ? arg.substr(2) : std::string{};
        const bool takesValue = IsTemperatureOption(name) || name == "link" || name == "mode" ||
                                name == "out-of-range-after" || name == "model-reply" ||
                                name == "wrong-last-byte" || name == "memory" ||
                                name == "generate-memory" || name == "save-memory" ||
                                IsDownloadFaultName(name) || IsSetupFaultName(name);
        if (takesValue && i + 1 == args.size()) {
            *error = arg + " needs a value";
            return false;
        }
        const std::string value = takesValue ? args[++i] : std::string{};
        const auto bad = [&](const char* what) {
            *error = arg + ": " + what + ": " + value;
            return false;
        };
        if (arg == "--help" || arg == "-h") {
            options->help = true;
        } else if (name == "silent") {
            options->silent = true;
        } else if (name == "link") {
            options->linkPath = value;
        } else if (IsTemperatureOption(name)) {
            std::int16_t tenthsC = 0;
            if (!ParseTenthsC(value, &tenthsC)) return bad("not a temperature in degrees C");
            (name == "t1" || name == "t2" ? readings : others).emplace_back(name, tenthsC);
        } else if (name == "mode") {
            int mode = 0;
            if (!ParseInteger(value, 0, 3, &mode)) return bad("not a display mode 0..3");
            SetDisplayMode(&options->state, mode);
        } else if (SetFlag(&options->state, name, true) ||
                   (name.starts_with("no-") && SetFlag(&options->state, name.substr(3), false))) {
            // a status bit or an invalid byte: SetFlag has set it
        } else if (name == "wave") {
            options->motion.wave = true;
        } else if (name == "out-of-range-after") {
            std::chrono::milliseconds after{};
            if (!ParseSeconds(value, &after)) return bad("not a number of seconds");
            options->motion.t2OutOfRangeAfter = after;
        } else if (name == "model-reply") {
            std::string bytes;
            if (!ParseEscapedBytes(value, &bytes)) return bad("bad escape (use \\xHH or \\\\)");
            options->modelReply = bytes;
        } else if (name == "noise") {
            options->faults.noise = kDefaultNoise;
        } else if (name == "split-frames") {
            options->faults.splitGap = kDefaultSplitGap;
        } else if (name == "double-frames") {
            options->faults.doubleFrames = true;
        } else if (name == "wrong-last-byte") {
            int frames = 0;
            if (!ParseInteger(value, 0, std::numeric_limits<int>::max(), &frames)) {
                return bad("not a number of frames");
            }
            options->faults.wrongLastByteFrames = frames;
        } else if (name == "memory" || name == "generate-memory") {
            if (!options->memoryFile.empty() || options->memorySets) {
                *error = "--memory and --generate-memory: one memory at a time";
                return false;
            }
            if (name == "memory") {
                options->memoryFile = value;
            } else {
                std::vector<DataSet> sets;
                std::string reason;
                if (!ParseMemoryRecipe(value, &sets, &reason)) {
                    *error = arg + ": " + reason;
                    return false;
                }
                options->memorySets = std::move(sets);
            }
        } else if (name == "save-memory") {
            options->saveMemoryPath = value;
        } else if (IsDownloadFaultName(name)) {
            std::string reason;
            if (!SetDownloadFault(&options->downloadFaults, name, value, &reason)) {
                *error = "--" + reason;
                return false;
            }
        } else if (name == "no-head-reply") {
            options->downloadFaults.noHeaderReply = true;
        } else if (IsSetupFaultName(name)) {
            std::string reason;
            if (!SetSetupFault(&options->setupFaults, name, value, &reason)) {
                *error = "--" + reason;
                return false;
            }
        } else if (name == "long-setup-reply") {
            options->setupFaults.longRecordReply = true;
        } else if (name == "clock-echo-wrong-start") {
            options->setupFaults.clockEchoWrongStart = true;
        } else if (name == "paced") {
            options->paced = true;
        } else {
            *error = "unknown option: " + arg;
            return false;
        }
    }
    for (const auto& [name, tenthsC] : readings) {
        ChannelState& channel = name == "t1" ? options->state.t1 : options->state.t2;
        // A fresh meter whose MIN and MAX have only seen the current reading.
        channel.tenthsC = channel.minTenthsC = channel.maxTenthsC = tenthsC;
    }
    for (const auto& [name, tenthsC] : others) SetTemperature(&options->state, name, tenthsC);
    return true;
}

}  // namespace kr820::emulator
