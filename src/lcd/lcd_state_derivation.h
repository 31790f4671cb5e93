// SPDX-License-Identifier: MIT
#pragma once

#include "core/live/lcd_state.h"
#include "core/live/live_reading.h"

namespace kr820::lcd {

// Whether each blink timer must run after a reading. The window side starts a timer that must
// run and is not running, and stops one that must not run but does, hiding the icons it was
// blinking (REC for the REC timer, MAX and MIN for the other).
struct BlinkTimerDemand {
    bool blinkTimerRuns = false;     // MAX and MIN blink together
    bool recBlinkTimerRuns = false;  // REC blinks
};

// What the LCD mimic is to show after `reading`: LcdIcons and both digit buffers of `lcd`, which
// holds what the previous reading left (an invalid channel keeps the main minus sign as the last
// valid value set it). ShownIcons and the painted copies are left to the painter. Icons that
// blink are left clear in LcdIcons while their timer runs, so that painting does not fight it.
BlinkTimerDemand DeriveLcdState(const core::LiveReading& reading, core::LcdState& lcd);

}  // namespace kr820::lcd
