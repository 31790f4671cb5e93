// SPDX-License-Identifier: MIT
// The fuzz build has no serial layer: the command table's runners are never called there.
#include "cli/command_runners.h"

namespace kr820::cli {

#define KR820_NO_RUN(name) \
    ExitCode name(const CliArguments&, MeterAccess&, CliEnvironment&) { return ExitCode::Usage; }
KR820_NO_RUN(RunHelpCommand)
KR820_NO_RUN(RunVersionCommand)
KR820_NO_RUN(RunPortsCommand)
KR820_NO_RUN(RunLiveCommand)
KR820_NO_RUN(RunDownloadCommand)
KR820_NO_RUN(RunSetsCommand)
KR820_NO_RUN(RunExportCommand)
KR820_NO_RUN(RunSetupShowCommand)
KR820_NO_RUN(RunSetupSetCommand)
KR820_NO_RUN(RunClockSyncCommand)
KR820_NO_RUN(RunEraseCommand)
KR820_NO_RUN(RunWatchCommand)
KR820_NO_RUN(RunServeCommand)
KR820_NO_RUN(RunReportCommand)

}  // namespace kr820::cli
