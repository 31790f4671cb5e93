// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/meter_access.h"

namespace kr820::cli {

class StopSignals;

// "live": readings on `out` until the count is reached or a stop is requested.
ExitCode RunLive(const CliArguments& arguments, MeterAccess& access, CliIo& io, StopSignals& stop);

}  // namespace kr820::cli
