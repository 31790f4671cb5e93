// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <array>
#include <string_view>

namespace kr820::core {

// The LCD's annunciators; the value is the icon's bit in LcdIcons (its Tag is the bit + 1).
enum class LcdIcon : int {
    AutoOff,
    AC,
    Printer,
    Rec,
    Max,
    Min,
    Rel,
    T1,
    T2,
    T1Minus,
    K,
    J,
    SubPoint2,
    SubPoint1,
    C,
    F,
    mV,
    mA,
    MPoint1,
    MPoint2,
    MPoint3,
    MPoint4,
    LBT,
    SubK,
    SubJ,
    SubT1,
    SubT2,
    SubF,
    SubC,
    Col1,
    Col2,
};
inline constexpr int kLcdIconCount = 31;

constexpr quint32 IconBit(LcdIcon icon) { return quint32{1} << static_cast<int>(icon); }
constexpr int IconTag(LcdIcon icon) { return static_cast<int>(icon) + 1; }

// One annunciator picture on the LCD panel. Bit, name and place are kept in one row so that
// the decoder and the window cannot disagree about which picture a bit shows.
struct LcdIconImage {
    LcdIcon icon;
    std::string_view name;  // the image's object name
    int left, top, width, height;
};

// Rows in bit order: kLcdIconImages[bit].icon == bit.
inline constexpr std::array<LcdIconImage, kLcdIconCount> kLcdIconImages = {{
    // icon             name            left  top  width height
    {LcdIcon::AutoOff, "imgAutoOff", 6, 8, 13, 13},
    {LcdIcon::AC, "imgAC", 23, 8, 18, 14},
    {LcdIcon::Printer, "imgPrinter", 45, 8, 25, 14},
    {LcdIcon::Rec, "imgRec", 77, 8, 27, 15},
    {LcdIcon::Max, "imgMax", 127, 8, 29, 15},
    {LcdIcon::Min, "imgMin", 163, 8, 24, 15},
    {LcdIcon::Rel, "imgRel", 196, 8, 28, 14},
    {LcdIcon::T1, "imgT1", 4, 27, 15, 12},
    {LcdIcon::T2, "imgT2", 4, 41, 16, 12},
    {LcdIcon::T1Minus, "imgT1Minus", 4, 57, 16, 9},
    {LcdIcon::K, "imgK", 4, 68, 9, 11},
    {LcdIcon::J, "imgJ", 16, 68, 7, 11},
    {LcdIcon::SubPoint2, "imgSubPoint2", 233, 144, 5, 5},
    {LcdIcon::SubPoint1, "imgSubPoint1", 210, 144, 5, 5},
    {LcdIcon::C, "imgC", 239, 27, 17, 15},
    {LcdIcon::F, "imgF", 239, 43, 16, 16},
    {LcdIcon::mV, "imgmV", 239, 59, 19, 16},
    {LcdIcon::mA, "imgmA", 239, 73, 21, 16},
    {LcdIcon::MPoint1, "imgMPoint1", 66, 76, 10, 13},
    {LcdIcon::MPoint2, "imgMpoint2", 107, 75, 10, 13},
    {LcdIcon::MPoint3, "imgMPoint3", 147, 74, 10, 13},
    {LcdIcon::MPoint4, "imgMPoint4", 188, 76, 10, 13},
    {LcdIcon::LBT, "imgLBT", 122, 95, 23, 14},
    {LcdIcon::SubK, "imgSubK", 155, 95, 9, 13},
    {LcdIcon::SubJ, "imgSubJ", 170, 95, 9, 13},
    {LcdIcon::SubT1, "imgSubT1", 187, 95, 15, 12},
    {LcdIcon::SubT2, "imgSubT2", 202, 95, 17, 12},
    {LcdIcon::SubF, "imgSubF", 221, 95, 14, 12},
    {LcdIcon::SubC, "imgSubC", 242, 95, 13, 12},
    {LcdIcon::Col1, "imgCol1", 170, 130, 5, 13},
    {LcdIcon::Col2, "imgCol2", 211, 128, 5, 13},
}};

constexpr bool IconRowsInBitOrder() {
    for (int bit = 0; bit < kLcdIconCount; ++bit)
        if (static_cast<int>(kLcdIconImages[bit].icon) != bit) return false;
    return true;
}
static_assert(IconRowsInBitOrder(), "kLcdIconImages must be indexed by icon bit");

constexpr const LcdIconImage& IconImage(LcdIcon icon) {
    return kLcdIconImages[static_cast<int>(icon)];
}

}  // namespace kr820::core
