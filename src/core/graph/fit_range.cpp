// SPDX-License-Identifier: MIT
#include "core/graph/fit_range.h"

#include <algorithm>
#include <cmath>

#include "core/chart/drawn_runs.h"

namespace kr820::core {

namespace {
// A twentieth of the curve's span above and below it, and at least a degree, so that a flat
// curve does not lie on the plot's edge.
constexpr double kMarginShare = 0.05;
constexpr double kLeastMargin = 1.0;
}  // namespace

std::optional<YRange> FittedRange(std::span<const TDateTime> x, std::span<const float> y,
                                  TDateTime fromX, TDateTime toX, double nullY) {
    const std::size_t points = std::min(x.size(), y.size());
    std::optional<YRange> range;
    for (std::size_t i = 0; i < points; ++i) {
        if (x[i] < fromX || x[i] > toX || !IsDrawnValue(y[i], nullY)) continue;
        const double value = y[i];
        if (!range) range = YRange{value, value};
        range->Min = std::min(range->Min, value);
        range->Max = std::max(range->Max, value);
    }
    if (!range) return std::nullopt;
    const double margin = std::max(kLeastMargin, (range->Max - range->Min) * kMarginShare);
    return YRange{std::floor(range->Min - margin), std::ceil(range->Max + margin)};
}

std::optional<YRange> Union(const std::optional<YRange>& a, const std::optional<YRange>& b) {
    if (!a) return b;
    if (!b) return a;
    return YRange{std::min(a->Min, b->Min), std::max(a->Max, b->Max)};
}

}  // namespace kr820::core
