// SPDX-License-Identifier: MIT
#pragma once

#include "cli/append_output.h"
#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/meter_access.h"

namespace kr820::cli {

// "download": the meter's logger memory into a collection file, written whole or not at all.
ExitCode RunDownload(const CliArguments& arguments, MeterAccess& access, CliIo& io,
                     const Stopping& stopping = {});

}  // namespace kr820::cli
