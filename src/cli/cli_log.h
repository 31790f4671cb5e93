// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

namespace kr820::cli {

// What the program does, for -v: "kr820.cli".
Q_DECLARE_LOGGING_CATEGORY(lcCli)

// The logging rules of a verbosity (see CliArguments::verbosity). QT_LOGGING_RULES, read after
// these, still has the last word.
void ApplyLogRules(int verbosity);

}  // namespace kr820::cli
