// SPDX-License-Identifier: MIT
#include "lcd/lcd_presenter.h"

#include "lcd/frm_lcd.h"
#include "lcd/lcd_blinking.h"
#include "lcd/lcd_painting.h"
#include "lcd/lcd_state_derivation.h"

namespace kr820::lcd {
namespace {

constexpr int kBlinkIntervalMs = 500;

}  // namespace

LcdPresenter::LcdPresenter(QObject* parent) : QObject(parent) {
    m_blinkTimer.setObjectName("BlinkTimer");
    m_blinkTimer.setInterval(kBlinkIntervalMs);
    connect(&m_blinkTimer, &QTimer::timeout, this, [this] { BlinkTimerTimer(); });
    m_recBlinkTimer.setObjectName("RecBlinkTimer");
    m_recBlinkTimer.setInterval(kBlinkIntervalMs);
    connect(&m_recBlinkTimer, &QTimer::timeout, this, [this] { RecBlinkTimerTimer(); });
}

void LcdPresenter::ShowReading(const core::LiveReading& reading) {
    const BlinkTimerDemand blinking = DeriveLcdState(reading, m_lcd);
    // Steered before painting: a stopped timer hides its icons, and the paint shows them again
    // when the frame asks for them steadily.
    SteerBlinkTimers(blinking, m_blinkTimer, m_recBlinkTimer, m_window);
    PaintLcdChanges(m_lcd, m_window);
}

TfrmLCD* LcdPresenter::Window() const { return m_window; }

void LcdPresenter::BlinkTimerTimer() { lcd::BlinkTimerTimer(m_window); }

void LcdPresenter::RecBlinkTimerTimer() { lcd::RecBlinkTimerTimer(m_window); }

void LcdPresenter::AttachWindow(TfrmLCD* window) {
    m_window = window;
    RepaintLcd(m_lcd, m_window);
}

}  // namespace kr820::lcd
