// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <span>

#include "core/time/date_time.h"

namespace kr820::core {

// A Y range in whole degrees.
struct YRange {
    double Min = 0;
    double Max = 0;

    bool operator==(const YRange&) const = default;
};

// The range that shows every drawn value of one curve between `fromX` and `toX` (both included),
// widened by a small margin and rounded out to whole degrees, so that a set recorded far from the
// default scale opens onto its curve. Out-of-range samples and null points are left out; empty
// when nothing in the span is drawn.
std::optional<YRange> FittedRange(std::span<const TDateTime> x, std::span<const float> y,
                                  TDateTime fromX, TDateTime toX, double nullY);

// Both ranges in one: what a chart that draws two curves on one axis needs.
std::optional<YRange> Union(const std::optional<YRange>& a, const std::optional<YRange>& b);

}  // namespace kr820::core
