// SPDX-License-Identifier: MIT
#include "lcd/lcd_digit_pictures.h"

#include <QPainter>

#include "lcd/lcd_ink.h"

namespace kr820::lcd {
namespace {

enum Segment : unsigned { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

// Lit segments per digit code: a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle.
constexpr std::array<unsigned, kDigitPictureCount> kSegmentsOfCode = {
    A | B | C | D | E | F,      // 0
    B | C,                      // 1
    A | B | G | E | D,          // 2
    A | B | G | C | D,          // 3
    F | G | B | C,              // 4
    A | F | G | C | D,          // 5
    A | F | G | E | D | C,      // 6
    A | B | C,                  // 7
    A | B | C | D | E | F | G,  // 8
    A | B | C | D | F | G,      // 9
    G,                          // 10 dash
    0,                          // 11 blank
    0,                          // 12
    E | F | D,                  // 13 "L"
    0,                          // 14
    0,                          // 15
};

// Where the segments' centre lines run inside a picture, and how the digit leans.
struct DigitShape {
    QSize size;
    qreal left, right, top, bottom;
    qreal thickness, gap;
    qreal lean;  // x shift per pixel of height above the middle
};

// The main pictures keep their last column empty: the window shows them in 33-pixel images.
constexpr DigitShape kMainShape{{34, 62}, 7.0, 26.5, 4.5, 57.0, 5.0, 0.8, 0.05};
constexpr DigitShape kSubShape{{17, 31}, 3.5, 13.0, 2.5, 28.5, 2.6, 0.45, 0.05};

QPixmap DrawDigit(const DigitShape& shape, unsigned segments) {
    QPixmap picture(shape.size);
    picture.fill(Qt::transparent);
    if (segments == 0) return picture;

    const qreal middle = (shape.top + shape.bottom) / 2;
    auto at = [&](qreal x, qreal y) { return QPointF(x + shape.lean * (middle - y), y); };
    const QPointF topLeft = at(shape.left, shape.top), topRight = at(shape.right, shape.top);
    const QPointF midLeft = at(shape.left, middle), midRight = at(shape.right, middle);
    const QPointF bottomLeft = at(shape.left, shape.bottom);
    const QPointF bottomRight = at(shape.right, shape.bottom);
    const struct {
        Segment segment;
        QPointF from, to;
    } lines[] = {{A, topLeft, topRight},       {B, topRight, midRight},  {C, midRight, bottomRight},
                 {D, bottomLeft, bottomRight}, {E, midLeft, bottomLeft}, {F, topLeft, midLeft},
                 {G, midLeft, midRight}};

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(LcdInk());
    for (const auto& line : lines) {
        if (segments & line.segment)
            painter.drawPolygon(SegmentPolygon(line.from, line.to, shape.thickness, shape.gap));
    }
    return picture;
}

DigitPictures DrawAll(const DigitShape& shape) {
    DigitPictures pictures;
    for (int code = 0; code < kDigitPictureCount; ++code)
        pictures[code] = DrawDigit(shape, kSegmentsOfCode[code]);
    return pictures;
}

}  // namespace

const DigitPictures& DigitBitmaps() {
    static const DigitPictures pictures = DrawAll(kMainShape);
    return pictures;
}

const DigitPictures& SubDigitBitmaps() {
    static const DigitPictures pictures = DrawAll(kSubShape);
    return pictures;
}

}  // namespace kr820::lcd
