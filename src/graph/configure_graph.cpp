// SPDX-License-Identifier: MIT
#include "graph/configure_graph.h"

#include <QDir>

#include "core/chart/chart_model.h"
#include "core/data/limit_values.h"
#include "core/graph/scale_file.h"

namespace kr820::graph {

namespace {

constexpr core::RgbColor kBlue = 0x0000FF;
constexpr core::RgbColor kRed = 0xFF0000;
constexpr core::RgbColor kYellow = 0xFFFF00;
constexpr core::RgbColor kLime = 0x00FF00;
constexpr core::RgbColor kFuchsia = 0xFF00FF;

// Line types (see line_styles.h): T1 drawn a little heavier than T2.
constexpr qint32 kT1LineType = 9;
constexpr qint32 kT2LineType = 0;

void SetLook(core::ChartModel& chart) {
    core::ChartSettings& s = chart.Settings();
    s.AllowDataLabels = false;
    s.ShowVertLineAnnotations = true;
    s.AllowVertLineAnnotHotSpots = true;
    chart.Annotations().EditVertLineAnnotation(0)->Color = kBlue;
    chart.Annotations().EditVertLineAnnotation(1)->Color = kRed;
    s.LineAnnotationTextSize = 100;
    s.ShowGraphAnnotations = true;
    s.GraphAnnotationTextSize = 100;
    s.GridStyle = core::GridLineStyle::sgDot;
    s.MainTitle.clear();
    s.SubTitle = QStringLiteral(" ");
    s.SubsetLabels.Set(0, QStringLiteral("T1"));
    s.SubsetLabels.Set(1, QStringLiteral("T2"));
    s.SubsetLineTypes.Set(0, kT1LineType);
    s.SubsetLineTypes.Set(1, kT2LineType);
    s.DateTimeMode = core::DateTimeKind::sgVBDateTime;
    s.UsingXDataII = true;
    s.XAxisLabel = QStringLiteral("Time");
    s.AllowZooming = core::ZoomDirections::sgHorzPlusVertZooming;
    s.ScrollingHorzZoom = true;
    s.ScrollingVertZoom = true;
    s.GraphForeColor = 0x008000;
    s.GraphBackColor = 0x000000;
    s.DeskColor = 0xC0C0C0;
    s.TextColor = 0x000000;
    const core::RgbColor subsetColors[] = {kRed, kYellow, kLime, kFuchsia};
    for (int i = 0; i < 4; ++i) s.SubsetColors.Set(i, subsetColors[i]);
    s.AllowAxisPage = false;
    s.ArrowCursor = 1;
}

}  // namespace

QString ScaleFilePath(const QString& programFolder) {
    if (programFolder.isEmpty()) return {};
    return QDir(programFolder).filePath(QStringLiteral("ini/KR820.ini"));
}

void ConfigureGraph(core::ChartModel& chart, const QString& scaleFilePath, int subsetCount,
                    int pointCount, core::TDateTime minX, core::TDateTime maxX, float minY,
                    float maxY) {
    core::ChartSettings& s = chart.Settings();
    core::ChartAxes& axes = chart.Axes();
    core::ChartData& data = chart.Data();

    s.PrepareImages = true;
    axes.SetSplit(true);
    axes.SetMultiAxesSeparators(core::AxisSeparator::sgThinLine);
    s.NullDataValueY = core::OverLimitValue;
    s.SubsetByPoint = false;
    data.SetSubsets(subsetCount);
    data.SetPoints(pointCount);
    s.AllowPopup = false;

    data.SetXDataII(core::ChartData::kAll, core::ChartData::kAll, 0.0);
    data.SetYDataII(core::ChartData::kAll, core::ChartData::kAll, core::OverLimitValue);

    if (minX != 0) {
        axes.SetManualScaleControlX(core::ManualScale::sgManualMinAndMax);
        axes.SetManualMinX(minX);
        axes.SetManualMaxX(maxX);
    }

    SetLook(chart);

    for (int axis = 0; axis < subsetCount; ++axis) {
        axes.SetWorkingAxis(axis);
        axes.SetYAxisLabel(QString());
        axes.SetManualScaleControlY(core::ManualScale::sgManualMinAndMax);
        axes.SetManualMinY(minY);
        axes.SetManualMaxY(maxY);
    }

    const core::ScaleBounds saved = core::ReadScaleFile(scaleFilePath);
    for (int axis = 0; axis < 2; ++axis) {
        axes.SetWorkingAxis(axis);
        if (const auto& min = saved[2 * axis]) axes.SetManualMinY(*min);
        if (const auto& max = saved[2 * axis + 1]) axes.SetManualMaxY(*max);
    }

    axes.SetWorkingAxis(0);
    axes.SetYAxisLabel(QStringLiteral("T1"));
    axes.SetWorkingAxis(1);
    axes.SetYAxisLabel(QStringLiteral("T2"));
    axes.SetWorkingAxis(0);
    s.AllowDataHotSpots = true;
    chart.Redraw();
}

}  // namespace kr820::graph
