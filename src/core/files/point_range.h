// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace kr820::core {

// The message for a range bound that is not an integer.
inline constexpr char kInvalidIntegerMessage[] = "invalid integer";

// Points First to Last, counted from 1, both included; empty when Last < First.
struct PointRange {
    int First = 1;
    int Last = 0;

    qsizetype Count() const { return Last < First ? 0 : qsizetype(Last) - First + 1; }
    bool operator==(const PointRange&) const = default;
};

// The scope choice "All": every point of the chart.
PointRange AllPoints(int pointCount);

// The scope choice "Select" from the texts of its two fields. Signs are dropped, the bounds are
// put in order, the upper one is cut to the point count and a lower one of 0 means 1. Empty
// (show kInvalidIntegerMessage) when either text is not an integer.
std::optional<PointRange> SelectedPoints(const QString& fromText, const QString& toText,
                                         int pointCount);

}  // namespace kr820::core
