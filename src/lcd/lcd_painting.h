// SPDX-License-Identifier: MIT
#pragma once

#include "core/live/lcd_state.h"

namespace kr820::lcd {

class TfrmLCD;

// Each takes the window as it may be: null while the LCD window is closed, in which case
// nothing is painted and nothing is recorded as painted, so that a re-created window can be
// brought back to the last picture it showed.

// After each decoded frame: shows or hides the icons whose bit changed and sets the digit
// positions whose code changed, then records the result as painted. Nothing else is touched.
void PaintLcdChanges(core::LcdState& lcd, TfrmLCD* window);

// After the window is re-created: every icon and digit from the last painted state.
void RepaintLcd(const core::LcdState& lcd, TfrmLCD* window);

}  // namespace kr820::lcd
