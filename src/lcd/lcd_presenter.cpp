// SPDX-License-Identifier: MIT
#include "lcd/lcd_presenter.h"

#include "core/live/live_frame_decoder.h"
#include "lcd/frm_lcd.h"
#include "lcd/lcd_blinking.h"
#include "lcd/lcd_painting.h"

namespace kr820::lcd {
namespace {

constexpr int kBlinkIntervalMs = 500;

}  // namespace

LcdPresenter::LcdPresenter(core::LiveReading& reading, bool& meterRecording, QObject* parent)
    : QObject(parent), m_reading(reading), m_meterRecording(meterRecording) {
    m_blinkTimer.setObjectName("BlinkTimer");
    m_blinkTimer.setInterval(kBlinkIntervalMs);
    connect(&m_blinkTimer, &QTimer::timeout, this, [this] { BlinkTimerTimer(); });
    m_recBlinkTimer.setObjectName("RecBlinkTimer");
    m_recBlinkTimer.setInterval(kBlinkIntervalMs);
    connect(&m_recBlinkTimer, &QTimer::timeout, this, [this] { RecBlinkTimerTimer(); });
}

void LcdPresenter::ShowFrame(QByteArrayView frame) {
    const core::BlinkTimerDemand blinking =
        core::DecodeLiveFrame(frame, m_reading, m_meterRecording, m_lcd);
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
