// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "core/files/regional_formats.h"

namespace kr820::cli {

// "sets": the data sets of a file, one CSV line (or JSON object) each.
ExitCode RunSets(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io);
// "export": a file's readings on stdout or into --output, which appears only when complete.
ExitCode RunExport(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io);

}  // namespace kr820::cli
