// SPDX-License-Identifier: MIT
#include "core/chart/drawn_runs.h"

#include <algorithm>
#include <cmath>

#include "core/data/limit_values.h"

namespace kr820::core {

bool IsDrawnValue(float y, double nullY) {
    // Y is stored in single precision, so the null value is compared as the float it was
    // written as; 9999.0 is exact either way.
    return y != static_cast<float>(nullY) && !IsShownAsOL(y) && !std::isnan(y);
}

std::vector<PointRun> DrawnRuns(std::span<const TDateTime> x, std::span<const float> y,
                                double nullY, double gapThresholdDays) {
    const qsizetype count = static_cast<qsizetype>(std::min(x.size(), y.size()));
    std::vector<PointRun> runs;
    for (qsizetype i = 0; i < count; ++i) {
        if (!IsDrawnValue(y[i], nullY)) continue;
        const bool joinsPrevious =
            !runs.empty() && runs.back().First + runs.back().Count == i &&
            !(gapThresholdDays > 0.0 && std::abs(x[i] - x[i - 1]) > gapThresholdDays);
        if (joinsPrevious) {
            ++runs.back().Count;
        } else {
            runs.push_back({i, 1});
        }
    }
    return runs;
}

}  // namespace kr820::core
