// SPDX-License-Identifier: MIT
#include "graph/chart_annotation_items.h"

#include <qcustomplot.h>

#include <algorithm>
#include <vector>

#include "core/chart/chart_model.h"
#include "graph/chart_drawing.h"
#include "graph/chart_look.h"
#include "graph/plot_series.h"

namespace kr820::graph {

QFont AnnotationFont(const core::ChartSettings& settings, qint32 sizePercent) {
    QFont font = ChartFont(settings.LabelFont, settings.FontSize);
    font.setPointSizeF(
        std::max(1.0, font.pointSizeF() * std::clamp(sizePercent, 10, 1000) / 100.0));
    return font;
}

void AddVertLineItems(QCustomPlot& plot, const ChartDrawing& drawing,
                      const core::ChartModel& model) {
    const core::ChartSettings& s = model.Settings();
    const std::vector<ChartDrawing::Band>& bands = drawing.Bands();
    if (!s.ShowVertLineAnnotations || bands.empty()) return;
    const QFont font = AnnotationFont(s, s.LineAnnotationTextSize);
    for (const core::VertLineAnnotation& line : model.Annotations().VertLineAnnotations()) {
        // A line never placed (X = 0) lies long before any recording.
        if (line.X == 0) continue;
        const double key = PlotKey(line.X, drawing.DateTimes());
        const QColor color = ToQColor(line.Color);
        for (const ChartDrawing::Band& band : bands) {
            QCPAxis* x = band.Rect->axis(QCPAxis::atBottom);
            QCPAxis* y = band.Rect->axis(QCPAxis::atLeft);
            auto* item = new QCPItemStraightLine(&plot);
            item->setClipAxisRect(band.Rect);
            item->setPen(LinePen(line.Type, color));
            for (QCPItemPosition* end : {item->point1, item->point2}) end->setAxes(x, y);
            item->point1->setCoords(key, 0);
            item->point2->setCoords(key, 1);
        }
        if (line.Text.isEmpty()) continue;
        const ChartDrawing::Band& top = bands.front();
        auto* text = new QCPItemText(&plot);
        text->setClipAxisRect(top.Rect);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        text->position->setAxes(top.Rect->axis(QCPAxis::atBottom), top.Rect->axis(QCPAxis::atLeft));
        text->position->setAxisRect(top.Rect);
        text->position->setCoords(key, 0);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setPadding(QMargins(3, 2, 3, 2));
        text->setFont(font);
        text->setColor(color);
        text->setText(line.Text);
    }
}

void AddGraphAnnotationItems(QCustomPlot& plot, const ChartDrawing& drawing,
                             const core::ChartModel& model) {
    const core::ChartSettings& s = model.Settings();
    if (!s.ShowGraphAnnotations || drawing.Bands().empty()) return;
    const QFont font = AnnotationFont(s, s.GraphAnnotationTextSize);
    for (const core::GraphAnnotation& annotation : model.Annotations().GraphAnnotations()) {
        const bool cross = annotation.Type == core::kAnnotationCross;
        if (!cross && annotation.Text.isEmpty()) continue;
        const int bandIndex = std::max(drawing.BandOfAxis(annotation.Axis), 0);
        const ChartDrawing::Band& band = drawing.Bands()[bandIndex];
        QCPAxis* x = band.Rect->axis(QCPAxis::atBottom);
        QCPAxis* y = band.Rect->axis(QCPAxis::atLeft);
        const double key = PlotKey(annotation.X, drawing.DateTimes());
        const QColor color = ToQColor(annotation.Color);
        if (cross) {
            auto* mark = new QCPItemTracer(&plot);
            mark->setClipAxisRect(band.Rect);
            mark->setStyle(QCPItemTracer::tsPlus);
            mark->setSize(kCrossSizePx);
            mark->setPen(QPen(color, 1));
            mark->position->setAxes(x, y);
            mark->position->setCoords(key, annotation.Y);
        }
        if (annotation.Text.isEmpty()) continue;
        auto* text = new QCPItemText(&plot);
        text->setClipAxisRect(band.Rect);
        text->position->setAxes(x, y);
        text->position->setCoords(key, annotation.Y);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // Beside the cross rather than over it.
        text->setPadding(QMargins(cross ? qRound(kCrossSizePx) : 0, 0, 0, 0));
        text->setFont(font);
        text->setColor(color);
        text->setText(annotation.Text);
    }
}

}  // namespace kr820::graph
