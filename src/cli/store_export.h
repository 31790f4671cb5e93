// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "cli/append_output.h"
#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "core/files/export_rows.h"

namespace kr820::cli {

// "export" of a recording store (live --store, the desktop's long recordings) at `path`, named
// `arguments.file` on the command line: its readings as one data set, read a block at a time and
// written as they are read, so that a recording of any length takes little memory. A store
// another process still writes is exported as far as it had committed.
ExitCode RunStoreExport(const CliArguments& arguments, const QString& path, CliIo& io,
                        const Stopping& stopping = {});

// "sets" of a recording store: one data set (its first reading's time, the pace, how many
// readings, the stretches without readings), or the exit code with its line said.
std::optional<std::vector<core::ExportedSet>> StoreSets(const QString& name, const QString& path,
                                                        CliIo& io, ExitCode& failure);

}  // namespace kr820::cli
