// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QtGlobal>

class QCustomPlot;

namespace kr820::core {
class ChartModel;
struct ChartSettings;
}  // namespace kr820::core

namespace kr820::graph {

class ChartDrawing;

// The cross of a cross annotation, in pixels; its text starts beside it.
inline constexpr double kCrossSizePx = 11.0;

// The font of an annotation text: the label font scaled by the chart's size percentage.
QFont AnnotationFont(const core::ChartSettings& settings, qint32 sizePercent);

// The model's vertical lines (the point cursor among them) across every band of the drawing, each
// text at the top of the top band; nothing when the chart does not show them.
void AddVertLineItems(QCustomPlot& plot, const ChartDrawing& drawing,
                      const core::ChartModel& model);

// The model's graph annotations, each a cross and/or a text on its axis' band (the top band for an
// axis not drawn); nothing when the chart does not show them.
void AddGraphAnnotationItems(QCustomPlot& plot, const ChartDrawing& drawing,
                             const core::ChartModel& model);

}  // namespace kr820::graph
