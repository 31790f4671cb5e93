// SPDX-License-Identifier: MIT
#include "lcd/lcd_ink.h"

#include <QLineF>

namespace kr820::lcd {

QPolygonF SegmentPolygon(QPointF from, QPointF to, qreal thickness, qreal gap) {
    const QLineF line(from, to);
    const QPointF along = line.unitVector().p2() - line.unitVector().p1();
    const QPointF across(-along.y(), along.x());
    const qreal half = thickness / 2;
    const QPointF tip1 = from + along * gap;
    const QPointF tip2 = to - along * gap;
    const QPointF shoulder1 = tip1 + along * half;
    const QPointF shoulder2 = tip2 - along * half;
    return QPolygonF({tip1, shoulder1 + across * half, shoulder2 + across * half, tip2,
                      shoulder2 - across * half, shoulder1 - across * half});
}

}  // namespace kr820::lcd
