// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kr820::core {

// Colours stay plain 0xRRGGBB integers so that the model needs nothing beyond Qt Core.
using RgbColor = std::uint32_t;

// The codes of the chart interface. The enumerator names are the ones the graph code uses; the
// numeric values are this model's own and are what a saved chart block stores, so never reorder
// them and only ever append (then raise the block's version).

// What the program asks the chart to do (PEactions).
enum class ChartAction : std::uint8_t {
    sgResetImage,       // rebuild the picture from the model
    sgInvalidateImage,  // repaint what is there
    sgReinitAndReset,   // re-lay the axes, then rebuild
    sgUndoZoom,
    sgCustomize,    // the chart's own settings dialog, modal
    sgPrintDialog,  // the chart's print dialog, modal
};

enum class ManualScale : std::uint8_t {
    sgNoManualScale,  // the axis follows the data
    sgManualMin,
    sgManualMax,
    sgManualMinAndMax,
};

enum class DateTimeKind : std::uint8_t {
    sgNoDateTimeMode,
    sgVBDateTime,  // X values are days since 30 December 1899
};

enum class GridLineStyle : std::uint8_t { sgThin, sgThick, sgDot, sgDash };

enum class AxisSeparator : std::uint8_t { sgNoSeparator, sgThinLine, sgMediumLine, sgThickLine };

enum class ZoomDirections : std::uint8_t {
    sgNoZooming,
    sgHorzZooming,
    sgVertZooming,
    sgHorzPlusVertZooming,
};

enum class ZoomFrame : std::uint8_t { sgFramed, sgFilled };

enum class PlotMethod : std::uint8_t { sgLine, sgPoint, sgPointsPlusLine, sgBar };

enum class LegendPlace : std::uint8_t { sgLegendTop, sgLegendBottom, sgLegendLeft, sgLegendRight };

enum class GridLines : std::uint8_t { sgNoGrid, sgYAxis, sgXAxis, sgYPlusXAxis };

enum class ShadowStyle : std::uint8_t { sgNoShadows, sgWithShadows, sgWith3D };

enum class FontSizeCode : std::uint8_t { sgSmall, sgMedium, sgLarge };

enum class Precision : std::uint8_t {
    sgNoDecimals,
    sgOneDecimal,
    sgTwoDecimals,
    sgThreeDecimals,
};

enum class PageOrientation : std::uint8_t { sgLandscape, sgPortrait };

enum class PrintStyle : std::uint8_t { sgPrintCurrentStyle, sgPrintMonochrome };

enum class UserInterfaceLevel : std::uint8_t { sgAllInterface, sgNoInterface };

// The last enumerator of each code, for checking values read back from a saved block. A code
// without one here cannot be saved: the block format fails to compile.
constexpr ManualScale LastCodeOf(ManualScale) { return ManualScale::sgManualMinAndMax; }
constexpr DateTimeKind LastCodeOf(DateTimeKind) { return DateTimeKind::sgVBDateTime; }
constexpr GridLineStyle LastCodeOf(GridLineStyle) { return GridLineStyle::sgDash; }
constexpr AxisSeparator LastCodeOf(AxisSeparator) { return AxisSeparator::sgThickLine; }
constexpr ZoomDirections LastCodeOf(ZoomDirections) {
    return ZoomDirections::sgHorzPlusVertZooming;
}
constexpr ZoomFrame LastCodeOf(ZoomFrame) { return ZoomFrame::sgFilled; }
constexpr PlotMethod LastCodeOf(PlotMethod) { return PlotMethod::sgBar; }
constexpr LegendPlace LastCodeOf(LegendPlace) { return LegendPlace::sgLegendRight; }
constexpr GridLines LastCodeOf(GridLines) { return GridLines::sgYPlusXAxis; }
constexpr ShadowStyle LastCodeOf(ShadowStyle) { return ShadowStyle::sgWith3D; }
constexpr FontSizeCode LastCodeOf(FontSizeCode) { return FontSizeCode::sgLarge; }
constexpr Precision LastCodeOf(Precision) { return Precision::sgThreeDecimals; }
constexpr PageOrientation LastCodeOf(PageOrientation) { return PageOrientation::sgPortrait; }
constexpr PrintStyle LastCodeOf(PrintStyle) { return PrintStyle::sgPrintMonochrome; }
constexpr UserInterfaceLevel LastCodeOf(UserInterfaceLevel) {
    return UserInterfaceLevel::sgNoInterface;
}

}  // namespace kr820::core
