// SPDX-License-Identifier: MIT
#pragma once

#include <QPointF>
#include <optional>

namespace kr820::core {
class ChartModel;
}

namespace kr820::graph {

class ChartDrawing;

// What a click hits on the picture as last drawn.

struct DataPointHit {
    int Subset = 0;
    int Point = 0;
};

// The drawn point nearest the pixel, within a few pixels, among the subsets of the band under
// the pixel; on equal distances the later one.
std::optional<DataPointHit> DataPointAt(const ChartDrawing& drawing, const core::ChartModel& model,
                                        QPointF pixel);

// The shown graph annotation whose cross or text lies under the pixel, the one drawn last (on
// top) first; -1 when none does.
int GraphAnnotationAt(const ChartDrawing& drawing, const core::ChartModel& model, QPointF pixel);

}  // namespace kr820::graph
