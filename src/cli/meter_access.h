// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "core/protocol/exchange_limits.h"

namespace kr820::link {
class Clock;
class DevicePort;
}  // namespace kr820::link

namespace kr820::cli {

// The ports and the time the meter commands run on: the program's serial ports and the steady
// clock, or in tests ports on the emulator and a clock that runs faster.
struct MeterAccess {
    link::DevicePort& comm1;  // the live path and the setup exchanges
    link::DevicePort& comm2;  // the download, on the same device
    link::Clock& clock;
    std::chrono::milliseconds tick = core::kExchangeLimits.tick;  // in real time
};

}  // namespace kr820::cli
