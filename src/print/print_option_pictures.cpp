// SPDX-License-Identifier: MIT
#include "print/print_option_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace kr820::print {
namespace {

constexpr QSize kPictureSize(120, 96);
constexpr QRect kPage(14, 4, 92, 88);
const QColor kPaper(Qt::white);
const QColor kInk(60, 60, 60);

// Starts `painter` on `picture`: a sheet of paper with a soft shadow, on a transparent ground.
void BeginSheet(QPainter& painter, QPixmap& picture) {
    picture.fill(Qt::transparent);
    painter.begin(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(kPage.translated(3, 3), QColor(0, 0, 0, 60));
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(kPage).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace

QPixmap GraphPrintPicture() {
    QPixmap picture(kPictureSize);
    QPainter painter;
    BeginSheet(painter, picture);
    const QRectF plot = QRectF(kPage).adjusted(14, 12, -8, -14);
    painter.setPen(QPen(QColor(200, 200, 200), 1, Qt::DotLine));
    for (int i = 1; i < 4; ++i) {
        const double y = plot.top() + plot.height() * i / 4;
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        const double x = plot.left() + plot.width() * i / 4;
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setPen(QPen(kInk, 1));
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    // Two channels; T2 in blue, which shows on white paper better than the screen's yellow.
    const struct {
        QColor colour;
        double level, swing, phase;
    } curves[] = {{QColor(220, 0, 0), 0.35, 0.18, 0.0}, {QColor(0, 0, 220), 0.7, 0.12, 1.7}};
    for (const auto& curve : curves) {
        QPainterPath path;
        for (int step = 0; step <= 40; ++step) {
            const double t = step / 40.0;
            const QPointF at(plot.left() + t * plot.width(),
                             plot.top() + plot.height() * (curve.level + curve.swing *
                                                           std::sin(t * 9.0 + curve.phase)));
            if (step == 0) path.moveTo(at);
            else path.lineTo(at);
        }
        painter.setPen(QPen(curve.colour, 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.end();
    return picture;
}

QPixmap TextPrintPicture() {
    QPixmap picture(kPictureSize);
    QPainter painter;
    BeginSheet(painter, picture);
    // Columns as in the point list: number, date, time, T1, T2.
    const int columns[][2] = {{6, 8}, {18, 20}, {42, 16}, {62, 12}, {78, 10}};
    painter.setPen(QPen(QColor(90, 90, 90), 2.0, Qt::SolidLine, Qt::FlatCap));
    for (int row = 0; row < 13; ++row) {
        const double y = kPage.top() + 10 + row * 6;
        for (const auto& column : columns) {
            const double x = kPage.left() + column[0] * kPage.width() / 96.0;
            painter.drawLine(QPointF(x, y), QPointF(x + column[1] * kPage.width() / 96.0 - 2, y));
        }
    }
    painter.end();
    return picture;
}

}  // namespace kr820::print
