// SPDX-License-Identifier: MIT
#include "lcd/lcd_blinking.h"

#include <QLabel>
#include <QTimer>

#include "lcd/frm_lcd.h"

namespace kr820::lcd {
namespace {

using core::LcdIcon;

void Hide(TfrmLCD* window, LcdIcon icon) {
    if (!window) return;
    if (QLabel* image = window->IconImage(icon)) image->hide();
}

// isHidden rather than isVisible: the flip must work while the window itself is minimised or
// not yet on screen.
void Flip(QLabel* image) {
    if (image) image->setHidden(!image->isHidden());
}

}  // namespace

void SteerBlinkTimers(const BlinkTimerDemand& demand, QTimer& blinkTimer,
                      QTimer& recBlinkTimer, TfrmLCD* window) {
    if (demand.recBlinkTimerRuns) {
        if (!recBlinkTimer.isActive()) recBlinkTimer.start();
    } else if (recBlinkTimer.isActive()) {
        recBlinkTimer.stop();
        Hide(window, LcdIcon::Rec);
    }
    if (demand.blinkTimerRuns) {
        if (!blinkTimer.isActive()) blinkTimer.start();
    } else if (blinkTimer.isActive()) {
        blinkTimer.stop();
        Hide(window, LcdIcon::Max);
        Hide(window, LcdIcon::Min);
    }
}

void BlinkTimerTimer(TfrmLCD* window) {
    if (!window) return;
    QLabel* max = window->IconImage(LcdIcon::Max);
    QLabel* min = window->IconImage(LcdIcon::Min);
    Flip(max);
    if (max && min) min->setHidden(max->isHidden());
}

void RecBlinkTimerTimer(TfrmLCD* window) {
    if (window) Flip(window->IconImage(LcdIcon::Rec));
}

}  // namespace kr820::lcd
