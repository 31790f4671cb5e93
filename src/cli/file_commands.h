// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/stop_signals.h"
#include "core/files/export_rows.h"
#include "core/files/regional_formats.h"

namespace kr820::cli {

class InputFile;

// The file named on the command line under a name that says what it holds; false with the
// line said, or when a stop came while standard input was waited for.
bool OpenInput(const QString& name, InputFile& input, CliIo& io, const Stopping& stopping);
// The sets of the file at `path` (named `arguments.file`), or the exit code with its line said.
std::optional<std::vector<core::ExportedSet>> OpenSets(const CliArguments& arguments,
                                                       const QString& path,
                                                       const core::RegionalFormats& formats,
                                                       CliIo& io, ExitCode& failure);

// "sets": the data sets of a file, one CSV line (or JSON object) each.
ExitCode RunSets(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io,
                 const Stopping& stopping = {});
// "export": a file's readings on stdout or into --output, which appears only when complete (a
// pipe or a device is written to as it is, once it has a reader).
ExitCode RunExport(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io,
                   const Stopping& stopping = {});

}  // namespace kr820::cli
