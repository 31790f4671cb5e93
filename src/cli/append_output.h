// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/fd_output.h"

namespace kr820::cli {

// A file that rows are appended to as ">>" appends them: made when missing, every write on its
// way at once, and whether it already held lines (a header row would then land among them).
struct AppendTarget {
    std::unique_ptr<FdOutput> device;  // none: `problem` says why
    bool holdsLines = false;
    QString problem;
};

AppendTarget OpenForAppending(const QString& path);

// Runs `body` with its output appended to `path` (io.out itself when empty or "-"); a file that
// cannot be opened is told and ends it with ExitCode::Failed, as does a write that failed.
ExitCode WithAppendedOutput(const QString& path, CliIo& io,
                            const std::function<ExitCode(CliIo&)>& body);

}  // namespace kr820::cli
