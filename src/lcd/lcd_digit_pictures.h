// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <array>

namespace kr820::lcd {

// The pictures a digit position can show, indexed by digit code: 0-9 the digits, 10 a dash,
// 13 an "L", 11, 12, 14 and 15 blank. Drawn on first use and shared for the whole run (a
// QGuiApplication must exist by then).
inline constexpr int kDigitPictureCount = 16;
using DigitPictures = std::array<QPixmap, kDigitPictureCount>;

const DigitPictures& DigitBitmaps();     // main display, 34 x 62
const DigitPictures& SubDigitBitmaps();  // sub display, 17 x 31

}  // namespace kr820::lcd
