// SPDX-License-Identifier: MIT
#include "graph/chart_zoomer.h"

#include <qcustomplot.h>

#include "core/chart/chart_model.h"

namespace kr820::graph {

namespace {
// A rectangle narrower than this in a zoomed direction is taken for a slip of the hand.
constexpr int kMinZoomPx = 4;
// One wheel notch scrolls a zoomed chart by this part of its range.
constexpr double kScrollShare = 0.1;
}  // namespace

ChartZoomer::ChartZoomer(QCustomPlot& plot, const core::ChartModel& model, ChartDrawing& drawing)
    : m_plot(plot), m_model(model), m_drawing(drawing) {}

bool ChartZoomer::ZoomToRect(const QRect& rect) {
    const core::ChartSettings& s = m_model.Settings();
    const int bandIndex = m_drawing.BandUnder(rect.topLeft());
    if (bandIndex < 0) return false;
    const bool horizontal = s.AllowZooming == core::ZoomDirections::sgHorzZooming ||
                            s.AllowZooming == core::ZoomDirections::sgHorzPlusVertZooming;
    const bool vertical = s.AllowZooming == core::ZoomDirections::sgVertZooming ||
                          s.AllowZooming == core::ZoomDirections::sgHorzPlusVertZooming;
    const QRect area = rect.normalized();
    if ((!horizontal || area.width() < kMinZoomPx) && (!vertical || area.height() < kMinZoomPx))
        return false;

    const ChartDrawing::Band& band = m_drawing.Bands()[bandIndex];
    if (horizontal && area.width() >= kMinZoomPx) {
        const QCPAxis* x = band.Rect->axis(QCPAxis::atBottom);
        m_zoom.X = QCPRange(x->pixelToCoord(area.left()), x->pixelToCoord(area.right()));
    }
    if (vertical && area.height() >= kMinZoomPx) {
        const QCPAxis* y = band.Rect->axis(QCPAxis::atLeft);
        m_zoom.Y[band.Axis] = QCPRange(y->pixelToCoord(area.bottom()), y->pixelToCoord(area.top()));
    }
    ShowZoom();
    return true;
}

void ChartZoomer::UndoZoom() {
    m_zoom = {};
    ShowZoom();
}

void ChartZoomer::Scroll(double horizontalSteps, double verticalSteps, int band) {
    const core::ChartSettings& s = m_model.Settings();
    if (horizontalSteps != 0 && m_zoom.X && s.ScrollingHorzZoom)
        *m_zoom.X += m_zoom.X->size() * kScrollShare * horizontalSteps;
    if (verticalSteps != 0 && band >= 0 && band < m_drawing.BandCount() && s.ScrollingVertZoom) {
        const auto zoomed = m_zoom.Y.find(m_drawing.Bands()[band].Axis);
        if (zoomed != m_zoom.Y.end())
            zoomed->second += zoomed->second.size() * kScrollShare * verticalSteps;
    }
    ShowZoom();
}

void ChartZoomer::ShowZoom() {
    m_drawing.ApplyRanges(m_zoom);
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

void ChartZoomer::FollowSettings() {
    const core::ChartSettings& s = m_model.Settings();
    const bool zooming = s.AllowZooming != core::ZoomDirections::sgNoZooming;
    m_plot.setSelectionRectMode(zooming ? QCP::srmCustom : QCP::srmNone);
    // Drawn over a dark plot as well as a light one.
    m_plot.selectionRect()->setPen(QPen(Qt::white, 0, Qt::DashLine));
    m_plot.selectionRect()->setBrush(s.ZoomStyle == core::ZoomFrame::sgFilled
                                         ? QBrush(QColor(255, 255, 255, 60))
                                         : QBrush(Qt::NoBrush));
}

}  // namespace kr820::graph
