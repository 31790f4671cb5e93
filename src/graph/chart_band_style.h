// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>

class QCPAxisRect;

namespace kr820::core {
class ChartModel;
}

namespace kr820::graph {

// How one band of the drawing looks: the chart's colours, fonts, grid and frame, the label of Y
// axis `axis`, and the time axis written out only under the lowest band. Neither dragging nor the
// wheel moves its ranges: zooming is the chart's own. The band keeps a least plotting size at
// which no two tick labels run into each other.
void StyleBand(QCPAxisRect& rect, const core::ChartModel& model, int axis, bool lowest,
               bool dateTimes, const QLocale& locale);

}  // namespace kr820::graph
