// SPDX-License-Identifier: MIT
#include "core/chart/chart_data.h"

#include <algorithm>

namespace kr820::core {

void ChartData::SetSubsets(int subsets) {
    m_series.resize(std::clamp(subsets, 0, kMaxSubsets));
    for (Series& series : m_series) {
        series.X.resize(m_points, 0.0);
        series.Y.resize(m_points, 0.0f);
    }
}

void ChartData::SetPoints(int points) {
    m_points = std::clamp(points, 0, kMaxPoints);
    for (Series& series : m_series) {
        series.X.resize(m_points, 0.0);
        series.Y.resize(m_points, 0.0f);
    }
}

bool ChartData::Holds(int subset, int point) const {
    return subset >= 0 && subset < Subsets() && point >= 0 && point < m_points;
}

TDateTime ChartData::XDataII(int subset, int point) const {
    return Holds(subset, point) ? m_series[subset].X[point] : 0.0;
}

float ChartData::YData(int subset, int point) const {
    return Holds(subset, point) ? m_series[subset].Y[point] : 0.0f;
}

bool ChartData::SetXDataII(int subset, int point, TDateTime x) {
    if (subset == kAll || point == kAll) {
        for (Series& series : m_series) std::fill(series.X.begin(), series.X.end(), x);
        return true;
    }
    if (!Holds(subset, point)) return false;
    m_series[subset].X[point] = x;
    return true;
}

bool ChartData::SetYData(int subset, int point, float y) {
    if (subset == kAll || point == kAll) {
        for (Series& series : m_series) std::fill(series.Y.begin(), series.Y.end(), y);
        return true;
    }
    if (!Holds(subset, point)) return false;
    m_series[subset].Y[point] = y;
    return true;
}

bool ChartData::SetYDataII(int subset, int point, double y) {
    return SetYData(subset, point, static_cast<float>(y));
}

template <typename Value>
qsizetype ChartData::SplitPairs(std::span<const Value> pairs, std::vector<Value>& t1,
                                std::vector<Value>& t2, int points) {
    if (pairs.size() % 2 != 0) return 0;
    const qsizetype count = std::min<qsizetype>(static_cast<qsizetype>(pairs.size() / 2), points);
    const Value* in = pairs.data();
    Value* out1 = t1.data();
    Value* out2 = t2.data();
    for (qsizetype p = 0; p < count; ++p) {
        out1[p] = in[2 * p];
        out2[p] = in[2 * p + 1];
    }
    return count;
}

qsizetype ChartData::SetXBlock(std::span<const TDateTime> pairs) {
    if (Subsets() < 2) return 0;
    return SplitPairs(pairs, m_series[0].X, m_series[1].X, m_points);
}

qsizetype ChartData::SetYBlock(std::span<const float> pairs) {
    if (Subsets() < 2) return 0;
    return SplitPairs(pairs, m_series[0].Y, m_series[1].Y, m_points);
}

std::span<const TDateTime> ChartData::X(int subset) const {
    if (subset < 0 || subset >= Subsets()) return {};
    return m_series[subset].X;
}

std::span<const float> ChartData::Y(int subset) const {
    if (subset < 0 || subset >= Subsets()) return {};
    return m_series[subset].Y;
}

bool ChartData::Assign(std::vector<Series> series, int points) {
    if (points < 0 || points > kMaxPoints || static_cast<int>(series.size()) > kMaxSubsets)
        return false;
    for (const Series& s : series) {
        if (s.X.size() != static_cast<std::size_t>(points) ||
            s.Y.size() != static_cast<std::size_t>(points))
            return false;
    }
    m_series = std::move(series);
    m_points = points;
    return true;
}

}  // namespace kr820::core
