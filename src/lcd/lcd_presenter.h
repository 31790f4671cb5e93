// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "core/live/lcd_state.h"
#include "core/live/live_reading.h"

namespace kr820::lcd {

class TfrmLCD;

// Brings each live reading to the LCD window: derives the display state from it (and from what
// the previous reading left), steers the two blink timers, paints what changed. It owns what the
// display shows and the blink timers, so the window may be closed and re-created without losing the
// picture; while no window is attached, frames are decoded and nothing is painted.
class LcdPresenter : public QObject {
    Q_OBJECT

public:
    explicit LcdPresenter(QObject* parent = nullptr);

    // The one path from a reading to the pictures.
    void ShowReading(const core::LiveReading& reading);

    // A new window shows the last painted picture at once; null detaches.
    void AttachWindow(TfrmLCD* window);
    TfrmLCD* Window() const;

    // The blink timers' ticks: MAX and MIN flip together; REC flips.
    void BlinkTimerTimer();
    void RecBlinkTimerTimer();

    const core::LcdState& State() const { return m_lcd; }
    // MAX and MIN blink with the first, REC with the second.
    QTimer& BlinkTimer() { return m_blinkTimer; }
    QTimer& RecBlinkTimer() { return m_recBlinkTimer; }

private:
    core::LcdState m_lcd;
    QPointer<TfrmLCD> m_window;
    QTimer m_blinkTimer;
    QTimer m_recBlinkTimer;
};

}  // namespace kr820::lcd
