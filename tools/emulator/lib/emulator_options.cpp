// SPDX-License-Identifier: MIT
#include "emulator_options.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kr820::emulator {
namespace {

// A fresh meter whose MIN and MAX have only seen the current reading.
void SetReading(ChannelState* channel, std::int16_t tenthsC) {
    channel->tenthsC = tenthsC;
    channel->minTenthsC = tenthsC;
    channel->maxTenthsC = tenthsC;
}

}  // namespace

bool ParseTenthsC(std::string_view text, std::int16_t* tenthsC) {
    double degrees = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, degrees);
    if (failure != std::errc{} || stop != end || !std::isfinite(degrees)) return false;
    const double tenths = std::round(degrees * 10.0);
    if (tenths < std::numeric_limits<std::int16_t>::min() ||
        tenths > std::numeric_limits<std::int16_t>::max()) {
        return false;
    }
    *tenthsC = static_cast<std::int16_t>(tenths);
    return true;
}

bool ParseEmulatorOptions(const std::vector<std::string>& args, EmulatorOptions* options,
                          std::string* error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--link" || arg == "--t1" || arg == "--t2";
        if (takesValue && i + 1 == args.size()) {
            *error = arg + " needs a value";
            return false;
        }
        if (arg == "--help" || arg == "-h") {
            options->help = true;
        } else if (arg == "--silent") {
            options->silent = true;
        } else if (arg == "--fahrenheit") {
            options->state.statusB |= kStatusBFahrenheit;
        } else if (arg == "--type-j") {
            options->state.statusB = static_cast<std::uint8_t>(
                (options->state.statusB & ~kStatusBTypeMask) | kStatusBTypeJ);
        } else if (arg == "--recording") {
            options->state.statusB |= kStatusBRecording;
        } else if (arg == "--link") {
            options->linkPath = args[++i];
        } else if (arg == "--t1" || arg == "--t2") {
            std::int16_t tenthsC = 0;
            if (!ParseTenthsC(args[i + 1], &tenthsC)) {
                *error = arg + ": not a temperature in degrees C: " + args[i + 1];
                return false;
            }
            SetReading(arg == "--t1" ? &options->state.t1 : &options->state.t2, tenthsC);
            ++i;
        } else {
            *error = "unknown option: " + arg;
            return false;
        }
    }
    return true;
}

std::string UsageText(std::string_view programName) {
    std::string text = "Usage: ";
    text += programName;
    text += R"( [options]
Emulates a KR820 thermocouple meter on a pseudo-terminal. Prints the device path as the first
line, then answers the meter's commands until interrupted (SIGINT or SIGTERM).

  --link PATH     also make PATH a symlink to the device (removed on exit)
  --silent        receive commands but never answer (a meter that is switched off)
  --t1 C          T1 reading in degrees C, one decimal (default 25.3)
  --t2 C          T2 reading in degrees C, one decimal (default 25.3)
  --fahrenheit    the meter's display shows degrees F
  --type-j        thermocouple type J (default K)
  --recording     the meter is logging (REC steady)
  --help          show this text
)";
    return text;
}

}  // namespace kr820::emulator
