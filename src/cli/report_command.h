// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/stop_signals.h"
#include "core/files/regional_formats.h"

namespace kr820::cli {

// "report": the figures of a file's data set (or all its sets) or of a recording store, as text,
// JSON or a PDF, on stdout or into --output, which appears only when complete.
ExitCode RunReport(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io,
                   const Stopping& stopping = {});

}  // namespace kr820::cli
