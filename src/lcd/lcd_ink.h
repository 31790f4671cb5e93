// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPolygonF>

namespace kr820::lcd {

// The dark grey of an energised liquid-crystal segment on the grey panel.
inline QColor LcdInk() { return QColor(0x22, 0x24, 0x26); }

// One segment of a seven-segment digit: a bar from `from` to `to` (horizontal or vertical) with
// pointed ends, shortened by `gap` at each end so that neighbouring segments do not touch.
QPolygonF SegmentPolygon(QPointF from, QPointF to, qreal thickness, qreal gap);

}  // namespace kr820::lcd
