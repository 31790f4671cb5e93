// SPDX-License-Identifier: MIT
#include "core/chart/drawn_runs.h"

#include <algorithm>
#include <cmath>

namespace kr820::core {

std::vector<PointRun> DrawnRuns(std::span<const TDateTime> x, std::span<const float> y,
                                double nullY, double gapThresholdDays) {
    // Y is stored in single precision, so the null value is compared as the float it was
    // written as; 9999.0 is exact either way.
    const float nullValue = static_cast<float>(nullY);
    const qsizetype count = static_cast<qsizetype>(std::min(x.size(), y.size()));
    std::vector<PointRun> runs;
    for (qsizetype i = 0; i < count; ++i) {
        if (y[i] == nullValue) continue;
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
