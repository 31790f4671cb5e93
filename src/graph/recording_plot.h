// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

#include "core/time/date_time.h"
#include "store/draw_plan.h"

namespace kr820::core {
class ChartData;
}

namespace kr820::graph {

// A store's instants (UTC milliseconds) as the chart's wall-clock date-times, and back.
core::TDateTime ChartTimeOfMs(qint64 ms);
qint64 MsOfChartTime(core::TDateTime x);

// The chart value of a stored channel: the null value where the reading has none, so the line
// breaks there as it does for an out-of-range sample.
float ChartValue(float value, bool valid);

// Lays a draw plan onto subsets 0 (T1) and 1 (T2): the readings one by one, or each pixel column
// as its minimum and maximum (taken in turns, so that neighbouring columns join without crossing
// lines). A pixel without readings between two columns breaks the lines. The chart gets as many
// points as the plan draws, whatever the length of the recording.
void LayPlanOnChart(const store::DrawPlan& plan, core::ChartData& data);

}  // namespace kr820::graph
