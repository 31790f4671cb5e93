// SPDX-License-Identifier: MIT
#include "graph/chart_hot_spots.h"

#include <QFontMetrics>
#include <QLineF>
#include <algorithm>

#include "core/chart/chart_model.h"
#include "core/chart/drawn_runs.h"
#include "graph/chart_annotation_items.h"
#include "graph/chart_drawing.h"
#include "graph/plot_series.h"

namespace kr820::graph {

namespace {
// How near a click must come to a data point or a cross to hit it. A data point takes as much
// slack as QCustomPlot's own selection gives a line: a hand need not land on its very pixel.
constexpr double kHotSpotRadiusPx = 8.0;
constexpr double kCrossHitRadiusPx = 7.0;
}  // namespace

std::optional<DataPointHit> DataPointAt(const ChartDrawing& drawing, const core::ChartModel& model,
                                        QPointF pixel) {
    const int bandIndex = drawing.BandUnder(pixel);
    if (bandIndex < 0) return std::nullopt;
    const ChartDrawing::Band& band = drawing.Bands()[bandIndex];
    const QCPAxis* x = band.Rect->axis(QCPAxis::atBottom);
    const QCPAxis* y = band.Rect->axis(QCPAxis::atLeft);
    const core::ChartData& data = model.Data();
    const double nullY = model.Settings().NullDataValueY;
    const bool dateTimes = drawing.DateTimes();

    std::optional<DataPointHit> hit;
    double best = kHotSpotRadiusPx * kHotSpotRadiusPx;
    for (int subset = band.FirstSubset; subset < band.FirstSubset + band.SubsetCount; ++subset) {
        const auto xs = data.X(subset);
        const auto ys = data.Y(subset);
        for (std::size_t i = 0; i < std::min(xs.size(), ys.size()); ++i) {
            if (xs[i] == 0) break;
            if (!core::IsDrawnValue(ys[i], nullY)) continue;
            const double dx = x->coordToPixel(PlotKey(xs[i], dateTimes)) - pixel.x();
            const double dy = y->coordToPixel(ys[i]) - pixel.y();
            const double distance = dx * dx + dy * dy;
            if (distance <= best) {
                best = distance;
                hit = DataPointHit{subset, static_cast<int>(i)};
            }
        }
    }
    return hit;
}

int GraphAnnotationAt(const ChartDrawing& drawing, const core::ChartModel& model, QPointF pixel) {
    const core::ChartSettings& s = model.Settings();
    if (!s.ShowGraphAnnotations || drawing.Bands().empty()) return -1;
    const QFontMetrics metrics(AnnotationFont(s, s.GraphAnnotationTextSize));
    const auto& annotations = model.Annotations().GraphAnnotations();
    // The last one is drawn on top, so it is the one clicked.
    for (int index = static_cast<int>(annotations.size()) - 1; index >= 0; --index) {
        const core::GraphAnnotation& annotation = annotations[index];
        const bool cross = annotation.Type == core::kAnnotationCross;
        if (!cross && annotation.Text.isEmpty()) continue;
        const QPointF anchor = drawing.ValueToPixel(annotation.Axis, annotation.X, annotation.Y);
        if (cross && QLineF(anchor, pixel).length() <= kCrossHitRadiusPx) return index;
        if (annotation.Text.isEmpty()) continue;
        QRectF box = metrics.boundingRect(annotation.Text);
        box.moveTopLeft(anchor + QPointF(cross ? kCrossSizePx : 0.0, -box.height() / 2));
        if (box.adjusted(-2, -2, 2, 2).contains(pixel)) return index;
    }
    return -1;
}

}  // namespace kr820::graph
