// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace kr820::cli {

// Where an --output goes.
enum class OutputKind {
    Stdout,  // empty, "-" or /dev/stdout: the program's standard output as it is
    Stream,  // an existing pipe (FIFO) or character device (/dev/null): written to as it is,
             // never replaced, so needing no --force
    File,    // anything else: made, or replaced whole once complete
};

OutputKind OutputKindOf(const QString& path);

// The line that refuses to replace an existing file without --force; none for a stream or a
// name not yet taken.
std::optional<QString> ReplaceRefusal(const QString& path, bool force);

}  // namespace kr820::cli
