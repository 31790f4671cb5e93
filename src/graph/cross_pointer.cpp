// SPDX-License-Identifier: MIT
#include "graph/cross_pointer.h"

#include <QPainter>
#include <QPixmap>

namespace kr820::graph {

namespace {
constexpr int kPictureSize = 32;
constexpr int kArm = 6;
}  // namespace

QCursor CrossPointer() {
    QPixmap picture(kPictureSize, kPictureSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    const QPoint centre = kCrossMarkOffset;
    // A dark edge under a white cross reads on the black plot and on the grey desk alike.
    for (const auto& [colour, width] : {std::pair{QColor(Qt::black), 3}, {QColor(Qt::white), 1}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(centre - QPoint(kArm, 0), centre + QPoint(kArm, 0));
        p.drawLine(centre - QPoint(0, kArm), centre + QPoint(0, kArm));
    }
    // A small corner at the hot spot, so the pointer's own position stays visible.
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 0, 4, 0);
    p.drawLine(0, 0, 0, 4);
    p.end();
    return QCursor(picture, 0, 0);
}

}  // namespace kr820::graph
