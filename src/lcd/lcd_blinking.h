// SPDX-License-Identifier: MIT
#pragma once

#include "lcd/lcd_state_derivation.h"

class QTimer;

namespace kr820::lcd {

class TfrmLCD;

// Carries out what a reading asks of the main window's BlinkTimer and RecBlinkTimer.
// Call it right after DeriveLcdState and before PaintLcdChanges: a stopped timer's icons are
// hidden here, and the paint then shows them again if the frame asks for them steadily.
// `window` is null while the LCD window is closed; the timers are steered all the same.
void SteerBlinkTimers(const BlinkTimerDemand& demand, QTimer& blinkTimer,
                      QTimer& recBlinkTimer, TfrmLCD* window);

// BlinkTimer's tick: MAX flips, MIN follows it, so the two blink in phase.
void BlinkTimerTimer(TfrmLCD* window);

// RecBlinkTimer's tick: REC flips.
void RecBlinkTimerTimer(TfrmLCD* window);

}  // namespace kr820::lcd
