// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/meter_access.h"
#include "cli/ports_command.h"

namespace kr820::cli {

class StopSignals;

// "serve": the readings, link state and alarms of the meters named (or of every meter found, now
// and later) fed to an MQTT broker and a Prometheus endpoint until a stop, which ends it cleanly
// with ExitCode::Success: each meter's availability said "offline", its alarm commands run out.
// Each meter has a port, a link and alarms of its own (made by `makePort`); one lost does not
// stop the others. Logs through kr820.serve and kr820.feeds on stderr.
ExitCode RunServe(const CliArguments& arguments, MeterAccess& access, const PortMaker& makePort,
                  CliIo& io, StopSignals& stop);

}  // namespace kr820::cli
