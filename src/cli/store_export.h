// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"

namespace kr820::cli {

// Whether the file at `path` begins as a recording store does (an SQLite database).
bool LooksLikeStore(const QString& path);

// "export" of a recording store (live --store, the desktop's long recordings): its readings as
// one data set, read a block at a time and written as they are read, so that a recording of any
// length takes little memory. A store another process still writes is exported as far as it
// had committed.
ExitCode RunStoreExport(const CliArguments& arguments, CliIo& io);

}  // namespace kr820::cli
