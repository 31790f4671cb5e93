// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::core {

// What a single data set file's name makes of it: the lower-case extension decides.
enum class SingleFileKind {
    Graph,      // ".ghf"
    TabText,    // ".txt"
    CommaText,  // ".csv"
    Unknown,    // anything else: nothing is written, and an empty window is opened
};

SingleFileKind SingleFileKindOf(const QString& fileName);

}  // namespace kr820::core
