// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace kr820::graph {

// The graph tool bar's pictures, drawn by the program so that they look the same everywhere.
enum class GraphToolIcon { UpperStatistics, LowerStatistics, NormalPointer, Cross, Text, Clear };

QIcon MakeGraphToolIcon(GraphToolIcon which);

}  // namespace kr820::graph
