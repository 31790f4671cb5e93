// SPDX-License-Identifier: MIT
#include "core/files/point_range.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace kr820::core {
namespace {

std::optional<qint64> Magnitude(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    // Widened first: the magnitude of the most negative int does not fit an int.
    return std::llabs(static_cast<qint64>(value));
}

}  // namespace

PointRange AllPoints(int pointCount) { return {1, std::max(pointCount, 0)}; }

std::optional<PointRange> SelectedPoints(const QString& fromText, const QString& toText,
                                         int pointCount) {
    const auto from = Magnitude(fromText);
    const auto to = Magnitude(toText);
    if (!from || !to) return std::nullopt;
    qint64 first = std::min(*from, *to);
    qint64 last = std::max(*from, *to);
    last = std::min<qint64>(last, std::max(pointCount, 0));
    if (first == 0) first = 1;
    // A range wholly above the chart is empty; keeping First as asked says so through Count().
    return PointRange{static_cast<int>(std::min<qint64>(first, INT_MAX)), static_cast<int>(last)};
}

}  // namespace kr820::core
