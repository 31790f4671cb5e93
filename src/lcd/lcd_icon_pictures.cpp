// SPDX-License-Identifier: MIT
#include "lcd/lcd_icon_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>

#include "lcd/lcd_ink.h"

namespace kr820::lcd {
namespace {

using core::LcdIcon;

// The main display's bottom segments run along this panel row; its decimal points sit on it.
constexpr qreal kMainBaselineY = 84.0;

// Text squeezed into `box`: as tall as the box, narrowed when it would be too wide, centred.
// Scaling the outline rather than picking a point size keeps annunciators the same height
// whatever font the system substitutes.
void DrawFittedText(QPainter& painter, const QRectF& box, const QString& text) {
    QFont font("Arial");
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(48);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    const qreal scaleY = box.height() / bounds.height();
    const qreal scaleX = std::min(scaleY, box.width() / bounds.width());
    QTransform fit;
    fit.translate(box.center().x(), box.center().y());
    fit.scale(scaleX, scaleY);
    fit.translate(-bounds.center().x(), -bounds.center().y());
    painter.fillPath(fit.map(path), LcdInk());
}

void DrawDot(QPainter& painter, QPointF centre, qreal radius) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(LcdInk());
    painter.drawEllipse(centre, radius, radius);
}

// The standby symbol: a ring open at the top with a bar through the gap.
void DrawPowerSymbol(QPainter& painter, const QRectF& area) {
    QPen pen(LcdInk(), 1.7);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const QRectF ring = area.adjusted(1.5, 2.5, -1.5, -0.5);
    painter.drawArc(ring, 120 * 16, 300 * 16);
    painter.drawLine(QPointF(area.center().x(), area.top() + 1),
                     QPointF(area.center().x(), ring.center().y()));
}

void DrawPrinter(QPainter& painter, const QRectF& area) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(LcdInk());
    const QRectF body(area.left() + 1, area.top() + 5, area.width() - 2, 6);
    painter.drawRoundedRect(body, 1.5, 1.5);
    QPen pen(LcdInk(), 1.2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // paper going in at the back and coming out at the front
    painter.drawRect(QRectF(area.left() + 6.5, area.top() + 1.5, area.width() - 13, 3.5));
    painter.drawRect(QRectF(area.left() + 6.5, body.bottom(), area.width() - 13, 2.5));
}

void DrawBattery(QPainter& painter, const QRectF& area) {
    painter.setPen(QPen(LcdInk(), 1.4));
    painter.setBrush(Qt::NoBrush);
    const QRectF shell(area.left() + 1, area.top() + 2, area.width() - 5, area.height() - 4);
    painter.drawRect(shell);
    painter.setPen(Qt::NoPen);
    painter.setBrush(LcdInk());
    painter.drawRect(QRectF(shell.right(), shell.top() + 3, 2.5, shell.height() - 6));
    // one bar left: the battery is low
    painter.drawRect(QRectF(shell.left() + 2, shell.top() + 2, 4, shell.height() - 4));
}

QPixmap DrawIcon(const core::LcdIconImage& image) {
    QPixmap picture(image.width, image.height);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(0, 0, image.width, image.height);
    const QRectF textBox = area.adjusted(0.5, 1, -0.5, -1);
    auto text = [&](const char* s) { DrawFittedText(painter, textBox, QString::fromUtf8(s)); };

    switch (image.icon) {
        case LcdIcon::AutoOff:
            DrawPowerSymbol(painter, area);
            break;
        case LcdIcon::AC:
            text("AC");
            break;
        case LcdIcon::Printer:
            DrawPrinter(painter, area);
            break;
        case LcdIcon::Rec:
            text("REC");
            break;
        case LcdIcon::Max:
            text("MAX");
            break;
        case LcdIcon::Min:
            text("MIN");
            break;
        case LcdIcon::Rel:
            text("REL");
            break;
        case LcdIcon::T1:
        case LcdIcon::SubT1:
            text("T1");
            break;
        case LcdIcon::T2:
        case LcdIcon::SubT2:
            text("T2");
            break;
        case LcdIcon::T1Minus:
            // shaped like the digits' middle segment, so it reads as the display's own sign
            painter.setPen(Qt::NoPen);
            painter.setBrush(LcdInk());
            painter.drawPolygon(SegmentPolygon(QPointF(1, 4.5), QPointF(15, 4.5), 4.0, 0));
            break;
        case LcdIcon::K:
        case LcdIcon::SubK:
            text("K");
            break;
        case LcdIcon::J:
        case LcdIcon::SubJ:
            text("J");
            break;
        case LcdIcon::C:
        case LcdIcon::SubC:
            text("°C");
            break;
        case LcdIcon::F:
        case LcdIcon::SubF:
            text("°F");
            break;
        case LcdIcon::mV:
            text("mV");
            break;
        case LcdIcon::mA:
            text("mA");
            break;
        case LcdIcon::MPoint1:
        case LcdIcon::MPoint2:
        case LcdIcon::MPoint3:
        case LcdIcon::MPoint4:
            // The four pictures stand at different heights; each dot lands on the baseline.
            DrawDot(painter, QPointF(area.center().x(), kMainBaselineY - image.top), 2.6);
            break;
        case LcdIcon::SubPoint1:
        case LcdIcon::SubPoint2:
            DrawDot(painter, area.center(), 2.1);
            break;
        case LcdIcon::LBT:
            DrawBattery(painter, area);
            break;
        case LcdIcon::Col1:
        case LcdIcon::Col2:
            DrawDot(painter, QPointF(area.center().x(), 3.5), 1.8);
            DrawDot(painter, QPointF(area.center().x(), area.height() - 3.5), 1.8);
            break;
    }
    return picture;
}

std::array<QPixmap, core::kLcdIconCount> DrawAllIcons() {
    std::array<QPixmap, core::kLcdIconCount> pictures;
    for (const core::LcdIconImage& image : core::kLcdIconImages)
        pictures[static_cast<int>(image.icon)] = DrawIcon(image);
    return pictures;
}

}  // namespace

const QPixmap& IconPicture(core::LcdIcon icon) {
    static const std::array<QPixmap, core::kLcdIconCount> pictures = DrawAllIcons();
    return pictures[static_cast<int>(icon)];
}

}  // namespace kr820::lcd
