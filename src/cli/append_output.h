// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

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

}  // namespace kr820::cli
