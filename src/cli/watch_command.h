// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/meter_access.h"

namespace kr820::cli {

class StopSignals;

// "watch": the meter's readings watched for the alarms of `arguments.alarms`, printing only the
// alarm events on `out`, one line each (core::AlarmEventLine):
//   2026-07-01T10:00:00+02:00 raised t1-high 35.0 30.0 C
// It runs until stopped, the count of readings or the duration, or with exitOnAlarm until the
// first alarm is raised, which ends it with ExitCode::AlarmRaised once that alarm's command has
// run. With an output file the lines are appended to it. A meter that never answers is waited
// for, and told on stderr, as live does.
ExitCode RunWatch(const CliArguments& arguments, MeterAccess& access, CliIo& io, StopSignals& stop);

}  // namespace kr820::cli
