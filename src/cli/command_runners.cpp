// SPDX-License-Identifier: MIT
#include "cli/command_runners.h"

#include "cli/download_command.h"
#include "cli/file_commands.h"
#include "cli/live_command.h"
#include "cli/program_version.h"
#include "cli/report_command.h"
#include "cli/run_cli.h"
#include "cli/serve_command.h"
#include "cli/setup_commands.h"
#include "cli/stop_signals.h"
#include "cli/watch_command.h"
#include "core/files/regional_formats.h"

namespace kr820::cli {

ExitCode RunHelpCommand(const CliArguments& arguments, MeterAccess&, CliEnvironment& environment) {
    return WriteOut(environment.io, arguments.helpText.toUtf8()) ? ExitCode::Success
                                                                 : ExitCode::Failed;
}

ExitCode RunVersionCommand(const CliArguments&, MeterAccess&, CliEnvironment& environment) {
    return WriteOut(environment.io, VersionText().toUtf8()) ? ExitCode::Success : ExitCode::Failed;
}

ExitCode RunPortsCommand(const CliArguments& arguments, MeterAccess& access,
                         CliEnvironment& environment) {
    return RunPorts(arguments, environment.makePort, access.clock, environment.io);
}

ExitCode RunLiveCommand(const CliArguments& arguments, MeterAccess& access,
                        CliEnvironment& environment) {
    return RunLive(arguments, access, environment.io, environment.stop);
}

ExitCode RunWatchCommand(const CliArguments& arguments, MeterAccess& access,
                         CliEnvironment& environment) {
    return RunWatch(arguments, access, environment.io, environment.stop);
}

ExitCode RunServeCommand(const CliArguments& arguments, MeterAccess& access,
                         CliEnvironment& environment) {
    return RunServe(arguments, access, environment.makePort, environment.io, environment.stop);
}

ExitCode RunDownloadCommand(const CliArguments& arguments, MeterAccess& access,
                            CliEnvironment& environment) {
    return RunDownload(arguments, access, environment.io,
                       [&environment] { return environment.stop.Requested(); });
}

ExitCode RunSetsCommand(const CliArguments& arguments, MeterAccess&, CliEnvironment& environment) {
    return RunSets(arguments, core::RegionalFormats::FromLocale(), environment.io,
                   [&environment] { return environment.stop.Requested(); });
}

ExitCode RunExportCommand(const CliArguments& arguments, MeterAccess&,
                          CliEnvironment& environment) {
    return RunExport(arguments, core::RegionalFormats::FromLocale(), environment.io,
                     [&environment] { return environment.stop.Requested(); });
}

ExitCode RunReportCommand(const CliArguments& arguments, MeterAccess&,
                          CliEnvironment& environment) {
    return RunReport(arguments, core::RegionalFormats::FromLocale(), environment.io,
                     [&environment] { return environment.stop.Requested(); });
}

ExitCode RunSetupShowCommand(const CliArguments& arguments, MeterAccess& access,
                             CliEnvironment& environment) {
    return RunSetupShow(arguments, access, environment.io);
}

ExitCode RunSetupSetCommand(const CliArguments& arguments, MeterAccess& access,
                            CliEnvironment& environment) {
    return RunSetupSet(arguments, access, environment.io);
}

ExitCode RunClockSyncCommand(const CliArguments& arguments, MeterAccess& access,
                             CliEnvironment& environment) {
    return RunClockSync(arguments, access, environment.io);
}

ExitCode RunEraseCommand(const CliArguments& arguments, MeterAccess& access,
                         CliEnvironment& environment) {
    return RunErase(arguments, access, environment.io);
}

}  // namespace kr820::cli
