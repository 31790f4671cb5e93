// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

namespace kr820::cli {

// What the program does, for -v: "kr820.cli".
Q_DECLARE_LOGGING_CATEGORY(lcCli)
// What serve does with its meters: found, lost, back, stopping: "kr820.serve".
Q_DECLARE_LOGGING_CATEGORY(lcServe)

// The logging rules of a verbosity (see CliArguments::verbosity). QT_LOGGING_RULES, read after
// these, still has the last word.
void ApplyLogRules(int verbosity);
// The same for serve, a service whose log is what it says: its meters' and its feeds' comings
// and goings are shown unless -q.
void ApplyServeLogRules(int verbosity);

}  // namespace kr820::cli
