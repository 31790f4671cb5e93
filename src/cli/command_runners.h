// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_arguments.h"
#include "cli/exit_codes.h"

namespace kr820::cli {

struct CliEnvironment;
struct MeterAccess;

// Each command's work behind the one signature the command table holds.
ExitCode RunHelpCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunVersionCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunPortsCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunLiveCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunWatchCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunServeCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunDownloadCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunSetsCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunExportCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunReportCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunSetupShowCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunSetupSetCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunClockSyncCommand(const CliArguments&, MeterAccess&, CliEnvironment&);
ExitCode RunEraseCommand(const CliArguments&, MeterAccess&, CliEnvironment&);

}  // namespace kr820::cli
