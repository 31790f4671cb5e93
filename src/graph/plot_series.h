// SPDX-License-Identifier: MIT
#pragma once

#include <qcustomplot.h>

#include <QVector>
#include <span>

#include "core/time/date_time.h"

namespace kr820::graph {

// A chart X as the plot's key. Date-times become seconds since 1 January 1970 of the same wall
// clock, and the X axis labels its ticks in UTC: the labels show exactly the times stored, with
// no time zone or daylight saving shift. Other X values are used as they are.
double PlotKey(core::TDateTime x, bool dateTimes);
core::TDateTime ChartX(double key, bool dateTimes);

// One subset as the plot draws it.
struct PlotSeries {
    // The drawn runs one after the other, a NaN point between two runs so that the line breaks
    // there (a null value or a gap in time).
    QVector<QCPGraphData> Line;
    // Runs of a single point: a line cannot show them, so they are drawn as dots.
    QVector<QCPGraphData> Isolated;
    // Keys never decrease; the plot may then skip sorting.
    bool Sorted = true;
    // Points the series covers: up to the first point without a time (X = 0).
    qsizetype FilledPoints = 0;
};

PlotSeries BuildPlotSeries(std::span<const core::TDateTime> x, std::span<const float> y,
                           double nullY, double gapThresholdDays, bool dateTimes);

}  // namespace kr820::graph
