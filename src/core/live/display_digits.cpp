// SPDX-License-Identifier: MIT
#include "core/live/display_digits.h"

#include <cmath>
#include <cstdio>

namespace kr820::core {
namespace {

// Tenths from here on round to six digits, one more than the display has.
constexpr double kFirstUnshownTenths = 99999.5;

void ShowDashes(DigitBuffer& buffer, int fromByte) {
    for (int i = fromByte; i < kDigitBufferBytes; ++i) buffer[i] = kDigitDash;
}

}  // namespace

void FormatDisplayDigits(DigitBuffer& buffer, quint8 invalid, float valueCelsius, DisplayUnit unit,
                         bool relMode) {
    if (invalid != 0) {
        ShowDashes(buffer, 1);
    } else {
        const float shown = InUnitAsDisplayed(valueCelsius, unit, relMode);
        const double tenths = static_cast<float>(static_cast<double>(shown) * 10.0);
        // Checked before the conversion to int: beyond five digits the text would overrun the
        // buffer, and beyond int (or for NaN) it would not be a number at all.
        if (!(std::fabs(tenths) < kFirstUnshownTenths)) {
            buffer[0] = tenths < 0 ? '-' : '+';
            ShowDashes(buffer, 1);
            buffer[6] = 0;
        } else {
            // Half away from zero; the conversion to int then truncates toward zero.
            const double rounded = tenths > 0 ? tenths + 0.5 : tenths < 0 ? tenths - 0.5 : 0.0;
            char text[kDigitBufferBytes + 1] = {};
            std::snprintf(text, sizeof text, "%+.5d", static_cast<int>(rounded));
            for (int i = 0; i < kDigitBufferBytes; ++i) buffer[i] = static_cast<quint8>(text[i]);
        }
    }
    // Digit characters become their codes; a dash code has the same low four bits.
    for (int i = 1; i <= 5; ++i) buffer[i] &= 0x0F;
    // Up to three leading zeros go blank; the last two positions always show a digit, so that
    // 0.5 reads "0.5" and not ".5".
    for (int i = 1; i <= 3 && buffer[i] == 0; ++i) buffer[i] = kDigitBlank;
}

}  // namespace kr820::core
