// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

#include "core/time/date_time.h"

namespace kr820::core {

// The chart's points: `Subsets` curves of `Points` points each, every point an X date-time and a
// single-precision Y. Subset 0 is T1 and subset 1 is T2 wherever the program draws temperatures.
class ChartData {
public:
    static constexpr int kMaxSubsets = 8;
    // Far beyond a full logger memory (33,000 pairs) or a long real-time recording, and small
    // enough that a mistyped count cannot exhaust memory.
    static constexpr int kMaxPoints = 1'000'000;
    // An index of -1 in a write addresses every point of every subset.
    static constexpr int kAll = -1;

    int Subsets() const { return static_cast<int>(m_series.size()); }
    int Points() const { return m_points; }
    // Both keep the values of the points that stay (the real-time stop cuts a chart to the points
    // taken); new points get X = 0 and Y = 0. Counts are clamped to 0 .. the maximum.
    void SetSubsets(int subsets);
    void SetPoints(int points);

    // Reads outside the chart give 0.
    TDateTime XDataII(int subset, int point) const;
    float YData(int subset, int point) const;

    // Writes outside the chart are ignored (false); kAll as either index writes everywhere.
    bool SetXDataII(int subset, int point, TDateTime x);
    bool SetYData(int subset, int point, float y);
    // The chart keeps single precision; the double form exists because the set-up writes with it.
    bool SetYDataII(int subset, int point, double y);

    // Block transfer in the data set store's pair order: entry 2p is T1 and entry 2p + 1 is T2 of
    // point p. Lays min(block pairs, Points) points onto subsets 0 and 1 and returns how many.
    // An odd-sized block or a chart with fewer than two subsets takes nothing (returns 0).
    qsizetype SetXBlock(std::span<const TDateTime> pairs);
    qsizetype SetYBlock(std::span<const float> pairs);

    // One subset's values in point order, for drawing and statistics; empty for a bad index.
    std::span<const TDateTime> X(int subset) const;
    std::span<const float> Y(int subset) const;

    // For a saved block: every subset's X and Y hold `points` values each.
    struct Series {
        std::vector<TDateTime> X;
        std::vector<float> Y;
        bool operator==(const Series&) const = default;
    };
    bool Assign(std::vector<Series> series, int points);

    bool operator==(const ChartData&) const = default;

private:
    bool Holds(int subset, int point) const;
    template <typename Value>
    static qsizetype SplitPairs(std::span<const Value> pairs, std::vector<Value>& t1,
                                std::vector<Value>& t2, int points);

    std::vector<Series> m_series;
    int m_points = 0;
};

}  // namespace kr820::core
