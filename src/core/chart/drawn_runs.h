// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

#include "core/time/date_time.h"

namespace kr820::core {

// A stretch of consecutive points drawn as one joined line.
struct PointRun {
    qsizetype First = 0;
    qsizetype Count = 0;

    bool operator==(const PointRun&) const = default;
};

// Whether a point with this Y is drawn: not when it is the null value, nor when it is a value the
// program shows as "OL" (either limit marker): an under-range sample drawn at -9999 would pull
// the line thousands of pixels off the plot for nothing to see.
bool IsDrawnValue(float y, double nullY);

// Splits one subset into the runs a view draws: a point that is not drawn breaks the line (an
// out-of-range sample leaves a gap), and so does a step in X wider than `gapThresholdDays` when
// that is above 0. A run may be a single point.
std::vector<PointRun> DrawnRuns(std::span<const TDateTime> x, std::span<const float> y,
                                double nullY, double gapThresholdDays);

}  // namespace kr820::core
