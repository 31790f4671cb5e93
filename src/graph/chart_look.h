// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>
#include <Qt>

#include "core/chart/chart_codes.h"

namespace kr820::graph {

// What the chart's numeric codes look like on screen. The codes are the program's own; the
// graph code writes line type 9 (T1), 0 (T2), vertical line type 2 (the point cursor) and
// pointer codes 1 (normal) and 2 (text).

// Line types 0 to 10; anything else draws like 0.
//   0 thin solid   1 dash    2 dot    3 dash-dot    4 dash-dot-dot
//   5 medium dash  6 medium dot  7 medium dash-dot  8 medium dash-dot-dot
//   9 medium solid  10 thick solid
inline constexpr int kLineTypeCount = 11;
QPen LinePen(qint32 lineType, const QColor& color);
QString LineTypeName(qint32 lineType);

QPen GridPen(core::GridLineStyle style, const QColor& color);

// Pointer codes: 0 arrow, 1 cross hair (the normal tool: reading values and dragging a zoom
// rectangle), 2 text beam, 3 pointing hand; anything else is the arrow.
Qt::CursorShape PointerShape(qint32 code);

// The point size of the chart's texts for a font size code.
int FontPointSize(core::FontSizeCode size);
QFont ChartFont(const QString& family, core::FontSizeCode size, int extraPoints = 0);

inline QColor ToQColor(core::RgbColor rgb) { return QColor::fromRgb(rgb); }
inline core::RgbColor ToRgb(const QColor& color) { return color.rgb() & 0xFFFFFFu; }

}  // namespace kr820::graph
