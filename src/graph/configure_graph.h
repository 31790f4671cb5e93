// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "core/time/date_time.h"

namespace kr820::core {
class ChartModel;
}

namespace kr820::graph {

// The Y-axis scale file inside the program folder; empty when there is no folder.
QString ScaleFilePath(const QString& programFolder);

// Sets a chart up from scratch in the split layout (T1 above, T2 below): every point emptied,
// the look of every graph window, X from minX to maxX unless minX is 0, and each axis from minY to
// maxY unless the scale file saved other bounds. Ends with a redraw request.
void ConfigureGraph(core::ChartModel& chart, const QString& scaleFilePath, int subsetCount,
                    int pointCount, core::TDateTime minX, core::TDateTime maxX, float minY,
                    float maxY);

}  // namespace kr820::graph
