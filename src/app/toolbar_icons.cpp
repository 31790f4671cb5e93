// SPDX-License-Identifier: MIT
#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kr820::app {
namespace {

constexpr int kSize = 24;

void DrawOpen(QPainter& p) {
    p.setBrush(QColor(0xF0, 0xC0, 0x40));
    p.drawRect(2, 7, 18, 13);
    p.setBrush(QColor(0xF8, 0xD8, 0x70));
    p.drawPolygon(QPolygon({{2, 20}, {6, 11}, {23, 11}, {20, 20}}));
    p.drawRect(2, 5, 7, 2);
}

void DrawSave(QPainter& p) {
    p.setBrush(QColor(0x30, 0x50, 0xA0));
    p.drawRect(3, 3, 18, 18);
    p.setBrush(Qt::white);
    p.drawRect(6, 3, 12, 7);
    p.setBrush(QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(7, 14, 10, 7);
}

void DrawPrint(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(7, 2, 10, 8);
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.drawRoundedRect(2, 9, 20, 9, 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(7, 15, 10, 7);
}

void DrawDataLogger(QPainter& p) {
    p.setBrush(QColor(0xE0, 0xE0, 0xE0));
    p.drawRect(3, 12, 18, 9);
    p.setBrush(QColor(0x20, 0x90, 0x20));
    p.drawPolygon(QPolygon({{9, 2}, {15, 2}, {15, 8}, {19, 8}, {12, 15}, {5, 8}, {9, 8}}));
}

void DrawSetup(QPainter& p) {
    p.setBrush(QColor(0x70, 0x70, 0x70));
    p.drawEllipse(QPoint(12, 12), 8, 8);
    for (int angle = 0; angle < 360; angle += 45) {
        p.save();
        p.translate(12, 12);
        p.rotate(angle);
        p.drawRect(-2, -11, 4, 4);
        p.restore();
    }
    p.setBrush(Qt::white);
    p.drawEllipse(QPoint(12, 12), 3, 3);
}

void DrawRun(QPainter& p) {
    p.setBrush(QColor(0xD0, 0x10, 0x10));
    p.drawEllipse(QPoint(12, 12), 8, 8);
}

void DrawStop(QPainter& p) {
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawRect(5, 5, 14, 14);
}

void DrawHelp(QPainter& p) {
    p.setBrush(QColor(0x20, 0x60, 0xC0));
    p.drawEllipse(QPoint(12, 12), 10, 10);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, "?");
}

// A bell.
void DrawAlarm(QPainter& p) {
    p.setBrush(QColor(0xF0, 0xB0, 0x20));
    QPainterPath bell;
    bell.moveTo(4, 18);
    bell.cubicTo(7, 15, 6, 5, 12, 4);
    bell.cubicTo(18, 5, 17, 15, 20, 18);
    bell.closeSubpath();
    p.drawPath(bell);
    p.drawEllipse(QPoint(12, 20), 2, 2);
}

}  // namespace

QIcon MakeToolIcon(ToolIcon which) {
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    switch (which) {
        case ToolIcon::Open:
            DrawOpen(p);
            break;
        case ToolIcon::Save:
            DrawSave(p);
            break;
        case ToolIcon::Print:
            DrawPrint(p);
            break;
        case ToolIcon::DataLogger:
            DrawDataLogger(p);
            break;
        case ToolIcon::Setup:
            DrawSetup(p);
            break;
        case ToolIcon::Run:
            DrawRun(p);
            break;
        case ToolIcon::Stop:
            DrawStop(p);
            break;
        case ToolIcon::Help:
            DrawHelp(p);
            break;
        case ToolIcon::Alarm:
            DrawAlarm(p);
            break;
    }
    p.end();
    return QIcon(picture);
}

}  // namespace kr820::app
