// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <functional>

class QLabel;

namespace kr820::lcd {

// The stay-on-top window that mimics the meter's display. It paints the state it is given and
// parses nothing.
class TfrmLCD : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 276;
    static constexpr int kClientHeight = 162;

    explicit TfrmLCD(QWidget* owner);

    QLabel* lblNoConnection() const { return m_lblNoConnection; }

    // Asked before the window closes; the close waits until it returns true (a frame being
    // painted must never be painted into a destroyed window).
    void SetCloseGuard(std::function<void()> waitUntilIdle) {
        m_waitUntilIdle = std::move(waitUntilIdle);
    }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_panel;
    QLabel* m_lblNoConnection;
    std::function<void()> m_waitUntilIdle;
};

}  // namespace kr820::lcd
