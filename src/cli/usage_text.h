// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "cli/cli_arguments.h"

namespace kr820::cli {

struct OptionRow;

// The overview: every command and the exit codes.
QString ProgramUsage();
// One command's synopsis, options and, where it has its own, exit codes. A command of a group
// ("setup show") is described with the rest of its group.
QString CommandUsage(Command command);
// The same for a group named by its first word ("setup"); empty for a word that is none.
QString GroupUsage(const QString& group);
// "  -o, --output FILE  what it does", continuation lines under the first.
QString OptionLines(const OptionRow& option);
// The options every command takes, under a line saying so.
QString CommonOptionLines();
// The exit codes, one a line.
QString ExitCodeLines();

}  // namespace kr820::cli
