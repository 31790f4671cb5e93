// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <array>

namespace kr820::core {

// Digit codes: the number of the picture a digit position shows.
inline constexpr quint8 kDigitDash = 10;
inline constexpr quint8 kDigitBlank = 11;

// A display buffer: a sign byte ('+' or '-'; on the sub display, the digit code of its first
// position), five digit codes and a spare byte.
inline constexpr int kDigitBufferBytes = 7;
using DigitBuffer = std::array<quint8, kDigitBufferBytes>;

inline constexpr DigitBuffer kBlankDigits = {kDigitBlank, kDigitBlank, kDigitBlank, kDigitBlank,
                                             kDigitBlank, kDigitBlank, kDigitBlank};

// What the LCD mimic should show and what it last showed. It lives as long as the program, not
// the window, so that a re-created window comes back with the last painted picture.
struct LcdState {
    quint32 LcdIcons = 0;    // bit n set: the icon with Tag n + 1 is to be shown
    quint32 ShownIcons = 0;  // LcdIcons as last painted
    DigitBuffer MainDigits = kBlankDigits;
    DigitBuffer SubDigits = kBlankDigits;
    DigitBuffer PaintedMainDigits = kBlankDigits;
    DigitBuffer PaintedSubDigits = kBlankDigits;
};

}  // namespace kr820::core
