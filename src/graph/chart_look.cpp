// SPDX-License-Identifier: MIT
#include "graph/chart_look.h"

#include <array>

namespace kr820::graph {

namespace {

struct LineType {
    Qt::PenStyle style;
    qreal width;
    const char* name;
};

constexpr std::array<LineType, kLineTypeCount> kLineTypes = {{
    {Qt::SolidLine, 1, "Thin solid"},
    {Qt::DashLine, 1, "Dash"},
    {Qt::DotLine, 1, "Dot"},
    {Qt::DashDotLine, 1, "Dash dot"},
    {Qt::DashDotDotLine, 1, "Dash dot dot"},
    {Qt::DashLine, 2, "Medium dash"},
    {Qt::DotLine, 2, "Medium dot"},
    {Qt::DashDotLine, 2, "Medium dash dot"},
    {Qt::DashDotDotLine, 2, "Medium dash dot dot"},
    {Qt::SolidLine, 2, "Medium solid"},
    {Qt::SolidLine, 3, "Thick solid"},
}};

const LineType& LineTypeOf(qint32 code) {
    return code >= 0 && code < kLineTypeCount ? kLineTypes[code] : kLineTypes[0];
}

}  // namespace

QPen LinePen(qint32 lineType, const QColor& color) {
    const LineType& type = LineTypeOf(lineType);
    QPen pen(color, type.width, type.style);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QString LineTypeName(qint32 lineType) { return QString::fromLatin1(LineTypeOf(lineType).name); }

QPen GridPen(core::GridLineStyle style, const QColor& color) {
    switch (style) {
        case core::GridLineStyle::sgThin:
            return QPen(color, 0, Qt::SolidLine);
        case core::GridLineStyle::sgThick:
            return QPen(color, 2, Qt::SolidLine);
        case core::GridLineStyle::sgDot:
            return QPen(color, 0, Qt::DotLine);
        case core::GridLineStyle::sgDash:
            return QPen(color, 0, Qt::DashLine);
    }
    return QPen(color, 0, Qt::SolidLine);
}

Qt::CursorShape PointerShape(qint32 code) {
    switch (code) {
        case 1:
            return Qt::CrossCursor;
        case 2:
            return Qt::IBeamCursor;
        case 3:
            return Qt::PointingHandCursor;
        default:
            return Qt::ArrowCursor;
    }
}

int FontPointSize(core::FontSizeCode size) {
    switch (size) {
        case core::FontSizeCode::sgSmall:
            return 7;
        case core::FontSizeCode::sgMedium:
            return 8;
        case core::FontSizeCode::sgLarge:
            return 10;
    }
    return 8;
}

QFont ChartFont(const QString& family, core::FontSizeCode size, int extraPoints) {
    QFont font(family);
    font.setPointSize(FontPointSize(size) + extraPoints);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

}  // namespace kr820::graph
