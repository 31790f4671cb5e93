// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

#include "core/live/lcd_state.h"
#include "core/live/temperature_units.h"

namespace kr820::core {

// Writes one display buffer from a reading in degrees Celsius, as the meter's display shows it
// in tenths: the sign ('+' or '-') in byte 0, five digit codes with up to three leading zeros
// blanked, byte 6 = 0. An invalid channel (non-zero flag) shows five dashes and keeps the sign
// byte it had. In REL mode the value is a difference, so Fahrenheit gets no +32 offset.
// A value whose tenths need more than five digits also shows five dashes, with its sign.
void FormatDisplayDigits(DigitBuffer& buffer, quint8 invalid, float valueCelsius, DisplayUnit unit,
                         bool relMode);

}  // namespace kr820::core
