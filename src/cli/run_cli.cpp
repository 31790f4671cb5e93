// SPDX-License-Identifier: MIT
#include "cli/run_cli.h"

#include "cli/cli_arguments.h"
#include "cli/download_command.h"
#include "cli/file_commands.h"
#include "cli/live_command.h"
#include "cli/setup_commands.h"
#include "cli/stoppable_clock.h"
#include "core/files/regional_formats.h"

namespace kr820::cli {

namespace {

ExitCode RunCommand(const CliArguments& command, MeterAccess& access, CliEnvironment& environment) {
    CliIo& io = environment.io;
    switch (command.command) {
        case Command::Help:
            return WriteOut(io, command.helpText.toUtf8()) ? ExitCode::Success : ExitCode::Failed;
        case Command::Ports:
            return RunPorts(command, environment.makePort, access.clock, io);
        case Command::Live:
            return RunLive(command, access, io, environment.stop);
        case Command::Download:
            return RunDownload(command, access, io);
        case Command::Sets:
            return RunSets(command, core::RegionalFormats::FromLocale(), io);
        case Command::Export:
            return RunExport(command, core::RegionalFormats::FromLocale(), io);
        case Command::SetupShow:
            return RunSetupShow(command, access, io);
        case Command::SetupSet:
            return RunSetupSet(command, access, io);
        case Command::ClockSync:
            return RunClockSync(command, access, io);
        case Command::Erase:
            return RunErase(command, access, io);
    }
    return ExitCode::Usage;
}

}  // namespace

ExitCode RunCli(const QStringList& arguments, CliEnvironment& environment) {
    CliIo& io = environment.io;
    const CliParse parsed = ParseCliArguments(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        Say(io, error->message);
        io.err.write("\n" + error->usage.toUtf8());
        return ExitCode::Usage;
    }
    const CliArguments& command = std::get<CliArguments>(parsed);
    // Every wait on the meter ends when a stop is asked for.
    StoppableClock clock(environment.access.clock, environment.stop);
    MeterAccess access{environment.access.comm1, environment.access.comm2, clock,
                       environment.access.tick};
    const ExitCode result = RunCommand(command, access, environment);
    // Output cut short is a failure whatever the command made of it.
    return io.outFailed && result == ExitCode::Success ? ExitCode::Failed : result;
}

}  // namespace kr820::cli
