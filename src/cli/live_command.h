// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/meter_access.h"

namespace kr820::cli {

class MeterSession;
class SessionAlarms;
class StopSignals;
struct AlarmOptions;

// The alarms asked for, watching the session's lost links; none when no --alarm was given.
std::unique_ptr<SessionAlarms> WatchAlarms(const AlarmOptions& options, MeterSession& session,
                                           CliIo& io);

// "live": readings on `out` until the count is reached or a stop is requested.
ExitCode RunLive(const CliArguments& arguments, MeterAccess& access, CliIo& io, StopSignals& stop);

}  // namespace kr820::cli
