// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::graph {

// A graph window's statistics boxes as the user sees them.
struct ShownStatistics {
    QString StartTime;
    QString SamplingRate;  // mm:ss
    QString DataNo;
    QString T1Max, T1Min, T1Avg;
    QString T2Max, T2Min, T2Avg;
};

}  // namespace kr820::graph
