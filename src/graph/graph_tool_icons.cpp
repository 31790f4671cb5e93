// SPDX-License-Identifier: MIT
#include "graph/graph_tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kr820::graph {

namespace {

constexpr int kSize = 16;

// A small window whose highlighted strip is the statistics panel the button shows or hides.
void DrawPanel(QPainter& p, bool upper) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 11);
    p.fillRect(upper ? QRect(2, 3, 12, 3) : QRect(2, 9, 12, 4), QColor(0, 0, 160));
    p.setPen(QPen(QColor(200, 0, 0), 1));
    p.drawLine(3, upper ? 10 : 7, 12, upper ? 8 : 5);
}

void DrawArrow(QPainter& p) {
    QPainterPath arrow;
    arrow.moveTo(4, 1);
    arrow.lineTo(4, 13);
    arrow.lineTo(7, 10);
    arrow.lineTo(9, 15);
    arrow.lineTo(11, 14);
    arrow.lineTo(9, 9);
    arrow.lineTo(13, 9);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
}

void DrawCross(QPainter& p) {
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(8, 2, 8, 14);
    p.drawLine(2, 8, 14, 8);
}

void DrawLetter(QPainter& p) {
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("A"));
}

// A sheet wiped by a stroke.
void DrawClear(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 11, 13);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(4, 12, 12, 3);
}

}  // namespace

QIcon MakeGraphToolIcon(GraphToolIcon which) {
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
        case GraphToolIcon::UpperStatistics:
            DrawPanel(p, true);
            break;
        case GraphToolIcon::LowerStatistics:
            DrawPanel(p, false);
            break;
        case GraphToolIcon::NormalPointer:
            DrawArrow(p);
            break;
        case GraphToolIcon::Cross:
            DrawCross(p);
            break;
        case GraphToolIcon::Text:
            DrawLetter(p);
            break;
        case GraphToolIcon::Clear:
            DrawClear(p);
            break;
    }
    p.end();
    return QIcon(picture);
}

}  // namespace kr820::graph
