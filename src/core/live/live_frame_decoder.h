// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>

#include "core/live/lcd_state.h"
#include "core/live/live_reading.h"

namespace kr820::core {

// Whether each blink timer must run after a frame. The core has no timers: the window side
// starts a timer that must run and is not running, and stops one that must not run but does,
// hiding the icons it was blinking (REC for the REC timer, MAX and MIN for the other).
struct BlinkTimerDemand {
    bool blinkTimerRuns = false;     // MAX and MIN blink together
    bool recBlinkTimerRuns = false;  // REC blinks
};

// Decodes one 23-byte live frame (STX to ETX, as CutLiveFrames hands it over) into the reading,
// the meter's logging flag and what the LCD mimic is to show: LcdIcons and both digit buffers.
// ShownIcons and the painted copies are left to the painter. Icons that blink are left clear in
// LcdIcons while their timer runs, so that painting does not fight the timer.
BlinkTimerDemand DecodeLiveFrame(QByteArrayView frame, LiveReading& reading, bool& meterRecording,
                                 LcdState& lcd);

}  // namespace kr820::core
