// SPDX-License-Identifier: MIT
#include "cli/run_cli.h"

#include "cli/cli_arguments.h"
#include "cli/cli_log.h"
#include "cli/command_runners.h"
#include "cli/command_table.h"
#include "cli/stoppable_clock.h"

namespace kr820::cli {

ExitCode RunCli(const QStringList& arguments, CliEnvironment& environment) {
    CliIo& io = environment.io;
    const CliParse parsed = ParseCliArguments(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        Say(io, error->message);
        io.err.write(error->usage.toUtf8() + '\n');
        return ExitCode::Usage;
    }
    const CliArguments& command = std::get<CliArguments>(parsed);
    // Every wait on the meter ends when a stop is asked for.
    StoppableClock clock(environment.access.clock, environment.stop);
    MeterAccess access{environment.access.comm1, environment.access.comm2, clock,
                       environment.access.tick};
    const CommandRow* row = FindCommand(command.command);
    io.verbosity = command.verbosity;
    ApplyLogRules(command.verbosity);
    const ExitCode result = row ? row->run(command, access, environment)
                            : command.command == Command::Version
                                ? RunVersionCommand(command, access, environment)
                                : RunHelpCommand(command, access, environment);
    // Output cut short is a failure whatever the command made of it.
    return io.outFailed && result == ExitCode::Success ? ExitCode::Failed : result;
}

}  // namespace kr820::cli
