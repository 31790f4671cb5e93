// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/stop_signals.h"
#include "core/files/regional_formats.h"

namespace kr820::cli {

// "sets": the data sets of a file, one CSV line (or JSON object) each.
ExitCode RunSets(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io,
                 const Stopping& stopping = {});
// "export": a file's readings on stdout or into --output, which appears only when complete (a
// pipe or a device is written to as it is, once it has a reader).
ExitCode RunExport(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io,
                   const Stopping& stopping = {});

}  // namespace kr820::cli
