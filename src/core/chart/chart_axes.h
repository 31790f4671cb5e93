// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>
#include <vector>

#include "core/chart/chart_codes.h"
#include "core/chart/indexed_property.h"

namespace kr820::core {

// What one Y axis holds. The Y-axis properties of the chart interface address the axis that
// `WorkingAxis` selects, so the graph code sets axis after axis through the same names.
struct YAxisSettings {
    ManualScale ManualScaleControlY = ManualScale::sgNoManualScale;
    double ManualMinY = 0.0;
    double ManualMaxY = 0.0;
    QString YAxisLabel;

    bool operator==(const YAxisSettings&) const = default;
};

// One horizontal band of the chart: the axis that owns it and the subsets drawn in it.
struct AxisBand {
    int Axis = 0;
    int FirstSubset = 0;
    int SubsetCount = 0;
    double HeightShare = 1.0;  // of the plotting height; the bands' shares add up to 1

    bool operator==(const AxisBand&) const = default;
};

// The X axis, the Y axes and how the subsets are spread over stacked Y axes.
class ChartAxes {
public:
    static constexpr int kMaxAxes = 8;
    // A MultiAxesSubsets write with this axis index removes the stacked layout.
    static constexpr int kAllAxes = -1;

    ManualScale ManualScaleControlX() const { return m_manualScaleControlX; }
    double ManualMinX() const { return m_manualMinX; }
    double ManualMaxX() const { return m_manualMaxX; }
    void SetManualScaleControlX(ManualScale control) { m_manualScaleControlX = control; }
    void SetManualMinX(double minX) { m_manualMinX = minX; }
    void SetManualMaxX(double maxX) { m_manualMaxX = maxX; }

    // Out-of-range axis numbers are ignored, so the Y properties always address a real axis.
    int WorkingAxis() const { return m_workingAxis; }
    bool SetWorkingAxis(int axis);

    ManualScale ManualScaleControlY() const { return Working().ManualScaleControlY; }
    double ManualMinY() const { return Working().ManualMinY; }
    double ManualMaxY() const { return Working().ManualMaxY; }
    const QString& YAxisLabel() const { return Working().YAxisLabel; }
    void SetManualScaleControlY(ManualScale control) { Working().ManualScaleControlY = control; }
    void SetManualMinY(double minY) { Working().ManualMinY = minY; }
    void SetManualMaxY(double maxY) { Working().ManualMaxY = maxY; }
    void SetYAxisLabel(const QString& label) { Working().YAxisLabel = label; }

    // Any axis, without moving the working axis: for drawing.
    const YAxisSettings& Axis(int axis) const;

    // Subsets per stacked axis, in subset order: {1, 1} puts subset 0 on axis 0 and subset 1 on
    // axis 1. Writing kAllAxes (whatever the count) removes the layout: all subsets on axis 0.
    int MultiAxesSubsets(int axis) const { return m_multiAxesSubsets.At(axis); }
    bool SetMultiAxesSubsets(int axis, int subsetCount);  // refuses a negative count
    // Each axis's part of the height; the bands are scaled so that their parts fill it.
    double MultiAxesProportions(int axis) const { return m_multiAxesProportions.At(axis); }
    bool SetMultiAxesProportions(int axis, double proportion);  // refuses negative or NaN
    AxisSeparator MultiAxesSeparators() const { return m_multiAxesSeparators; }
    void SetMultiAxesSeparators(AxisSeparator separator) { m_multiAxesSeparators = separator; }

    // The two layouts of the Split box: split stacks T1's axis above T2's, half the height each;
    // joined draws both subsets on axis 0 over the full height.
    void SetSplit(bool split);
    // True while more than one axis has subsets of its own.
    bool IsSplit() const;

    // The bands to draw for a chart of `subsets` subsets, top to bottom. Subsets the layout does
    // not cover join the last band, so every subset is drawn somewhere.
    std::vector<AxisBand> Layout(int subsets) const;
    int AxisOfSubset(int subset, int subsets) const;

    // The layout lists as written, for saving.
    const IndexedProperty<qint32>& MultiAxesSubsetsList() const { return m_multiAxesSubsets; }
    const IndexedProperty<double>& MultiAxesProportionsList() const {
        return m_multiAxesProportions;
    }

    bool operator==(const ChartAxes&) const = default;

private:
    YAxisSettings& Working() { return m_yAxes[m_workingAxis]; }
    const YAxisSettings& Working() const { return m_yAxes[m_workingAxis]; }

    ManualScale m_manualScaleControlX = ManualScale::sgNoManualScale;
    double m_manualMinX = 0.0;
    double m_manualMaxX = 0.0;
    int m_workingAxis = 0;
    std::array<YAxisSettings, kMaxAxes> m_yAxes{};
    IndexedProperty<qint32> m_multiAxesSubsets{kMaxAxes, 0};
    IndexedProperty<double> m_multiAxesProportions{kMaxAxes, 1.0};
    AxisSeparator m_multiAxesSeparators = AxisSeparator::sgThinLine;
};

}  // namespace kr820::core
