// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/meter_access.h"

namespace kr820::cli {

// "setup show", "setup set", "clock sync" and "erase": the setup dialog's exchanges, with the
// same reads and verified writes.
ExitCode RunSetupShow(const CliArguments& arguments, MeterAccess& access, CliIo& io);
ExitCode RunSetupSet(const CliArguments& arguments, MeterAccess& access, CliIo& io);
ExitCode RunClockSync(const CliArguments& arguments, MeterAccess& access, CliIo& io);
ExitCode RunErase(const CliArguments& arguments, MeterAccess& access, CliIo& io);

}  // namespace kr820::cli
