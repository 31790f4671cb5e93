// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

#include "graph/chart_drawing.h"

class QCustomPlot;

namespace kr820::core {
class ChartModel;
}

namespace kr820::graph {

// The user's zoom on a drawn chart, in the directions the chart allows: a rectangle narrows the
// band under its first corner (and the time range of every band), the wheel scrolls what is
// zoomed, and undoing shows the model's ranges again. The zoom outlives rebuilds of the picture.
class ChartZoomer {
public:
    ChartZoomer(QCustomPlot& plot, const core::ChartModel& model, ChartDrawing& drawing);

    const ChartZoom& Zoom() const { return m_zoom; }
    bool IsZoomed() const { return m_zoom.IsZoomed(); }

    // False when refused: no band under the corner, zooming not allowed, a rectangle too small.
    bool ZoomToRect(const QRect& rect);
    void UndoZoom();
    // Shifts the zoomed ranges by tenths of their size: horizontally the time range, vertically
    // the band's Y range; directions the chart does not scroll stay.
    void Scroll(double horizontalSteps, double verticalSteps, int band);

    // The dragged rectangle is offered only where zooming is allowed, and looks as the chart says.
    void FollowSettings();

private:
    void ShowZoom();

    QCustomPlot& m_plot;
    const core::ChartModel& m_model;
    ChartDrawing& m_drawing;
    ChartZoom m_zoom;
};

}  // namespace kr820::graph
