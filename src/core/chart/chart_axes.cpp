// SPDX-License-Identifier: MIT
#include "core/chart/chart_axes.h"

#include <algorithm>
#include <cmath>

namespace kr820::core {

bool ChartAxes::SetWorkingAxis(int axis) {
    if (axis < 0 || axis >= kMaxAxes) return false;
    m_workingAxis = axis;
    return true;
}

const YAxisSettings& ChartAxes::Axis(int axis) const {
    static const YAxisSettings kNoAxis;
    return axis >= 0 && axis < kMaxAxes ? m_yAxes[axis] : kNoAxis;
}

bool ChartAxes::SetMultiAxesSubsets(int axis, int subsetCount) {
    if (axis == kAllAxes) {
        m_multiAxesSubsets.Clear();
        return true;
    }
    if (subsetCount < 0) return false;
    return m_multiAxesSubsets.Set(axis, subsetCount);
}

bool ChartAxes::SetMultiAxesProportions(int axis, double proportion) {
    if (!(proportion >= 0.0) || !std::isfinite(proportion)) return false;
    return m_multiAxesProportions.Set(axis, proportion);
}

void ChartAxes::SetSplit(bool split) {
    m_multiAxesSubsets.Clear();
    if (split) {
        m_multiAxesSubsets.Set(0, 1);
        m_multiAxesSubsets.Set(1, 1);
        m_multiAxesProportions.Set(0, 0.5);
        m_multiAxesProportions.Set(1, 0.5);
    } else {
        m_multiAxesProportions.Set(0, 1.0);
    }
}

bool ChartAxes::IsSplit() const {
    const auto& counts = m_multiAxesSubsets.Values();
    return std::count_if(counts.begin(), counts.end(), [](qint32 n) { return n > 0; }) > 1;
}

std::vector<AxisBand> ChartAxes::Layout(int subsets) const {
    subsets = std::max(subsets, 0);
    std::vector<AxisBand> bands;
    int nextSubset = 0;
    const auto& counts = m_multiAxesSubsets.Values();
    for (int axis = 0; axis < static_cast<int>(counts.size()); ++axis) {
        if (counts[axis] <= 0) continue;
        const int taken = std::min(counts[axis], subsets - nextSubset);
        bands.push_back({axis, nextSubset, taken, m_multiAxesProportions.At(axis)});
        nextSubset += taken;
    }
    if (bands.empty()) return {{0, 0, subsets, 1.0}};
    bands.back().SubsetCount += subsets - nextSubset;

    double total = 0.0;
    for (const AxisBand& band : bands) total += band.HeightShare;
    for (AxisBand& band : bands) {
        band.HeightShare =
            total > 0.0 && std::isfinite(total) ? band.HeightShare / total : 1.0 / bands.size();
    }
    return bands;
}

int ChartAxes::AxisOfSubset(int subset, int subsets) const {
    for (const AxisBand& band : Layout(subsets)) {
        if (subset >= band.FirstSubset && subset < band.FirstSubset + band.SubsetCount) {
            return band.Axis;
        }
    }
    return 0;
}

}  // namespace kr820::core
