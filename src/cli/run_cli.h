// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/meter_access.h"
#include "cli/ports_command.h"

namespace kr820::cli {

class StopSignals;

// Everything a run needs from outside: the streams, the ports and clock, and the stop requests.
struct CliEnvironment {
    CliIo& io;
    MeterAccess& access;
    PortMaker makePort;  // for probing devices one by one
    StopSignals& stop;
};

// Parses `arguments` (without the program name) and runs the command.
ExitCode RunCli(const QStringList& arguments, CliEnvironment& environment);

}  // namespace kr820::cli
