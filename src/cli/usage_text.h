// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "cli/cli_arguments.h"

namespace kr820::cli {

// The overview: every command and the exit codes.
QString ProgramUsage();
// One command's synopsis, options and, where it has its own, exit codes.
QString CommandUsage(Command command);

}  // namespace kr820::cli
