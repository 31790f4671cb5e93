// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "cli/fd_output.h"
#include "cli/stop_signals.h"

namespace kr820::cli {

// A file that rows are appended to as ">>" appends them: made when missing, every write on its
// way at once, and whether it already held lines (a header row would then land among them).
struct AppendTarget {
    std::unique_ptr<FdOutput> device;  // none: `problem` says why, or a stop came first
    bool holdsLines = false;
    bool stopped = false;  // a stop was asked for while a FIFO waited for its reader
    QString problem;
};

// Opens `path` without waiting inside the system for a FIFO's reader, which would hold off
// SIGINT and SIGTERM: a FIFO nobody reads yet is tried again until it has a reader or a stop is
// asked for; `waiting` is called once when it has none.
AppendTarget OpenForAppending(const QString& path, const Stopping& stopping,
                              const std::function<void()>& waiting = {});

// Runs `body` with its output appended to `path` (io.out itself for standard output, see
// OutputKindOf); a file that cannot be opened is told and ends it with ExitCode::Failed, as does
// a write that failed; a stop while a FIFO waits for its reader ends it with the stop's code.
ExitCode WithAppendedOutput(const QString& path, CliIo& io, const Stopping& stopping,
                            const std::function<ExitCode(CliIo&)>& body);

// A command's whole output at once: appended to a stream (standard output, a FIFO, a device),
// or a file written whole in its place, never half; a failure is told and is ExitCode::Failed.
ExitCode WriteWholeOutput(const QString& path, const QByteArray& bytes, CliIo& io,
                          const Stopping& stopping);

}  // namespace kr820::cli
