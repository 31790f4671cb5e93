// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "core/live/lcd_icon_table.h"

class QLabel;

namespace kr820::lcd {

inline constexpr int kMainDigitCount = 5;
inline constexpr int kSubDigitCount = 6;

// The window's pictures in the order the painter addresses them.
struct LcdImageLists {
    std::array<QLabel*, core::kLcdIconCount> IconImages{};   // index = Tag - 1 = icon bit
    std::array<QLabel*, kMainDigitCount> MainDigitImages{};  // MainD1 .. MainD5
    std::array<QLabel*, kSubDigitCount> SubDigitImages{};    // SubD1 .. SubD6, left to right
};

// The stay-on-top window that mimics the meter's display: digit and icon images on a grey
// panel. It parses and decides nothing: LcdPresenter paints it.
class TfrmLCD : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 276;
    static constexpr int kClientHeight = 162;

    // Creates every image (digits blank, icons hidden) with its image list.
    explicit TfrmLCD(QWidget* owner);

    QLabel* lblNoConnection() const { return m_lblNoConnection; }
    // "No Connection" shown, and the last readings dimmed so that they do not read as live.
    void ShowNoConnection(bool shown);
    bool ReadingsDimmed() const;
    // The program's own alarms: "ALARM" while one lasts; "CLEARED" when all are over but one
    // still waits to be acknowledged; nothing otherwise. `tip` says which.
    enum class AlarmMark { None, Lasting, Cleared };
    void SetAlarmMark(AlarmMark mark, const QString& tip = QString());
    AlarmMark ShownAlarmMark() const { return m_alarmMark; }
    bool AlarmMarked() const { return m_alarmMark != AlarmMark::None; }

    const LcdImageLists& ImageLists() const { return m_lists; }
    QLabel* IconImage(core::LcdIcon icon) const {
        return m_lists.IconImages[static_cast<int>(icon)];
    }

    // Asked before the window closes; the close waits until it returns true (a frame being
    // painted must never be painted into a destroyed window).
    void SetCloseGuard(std::function<void()> waitUntilIdle) {
        m_waitUntilIdle = std::move(waitUntilIdle);
    }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* AddImage(const QString& name, const QRect& place, const QPixmap& picture);

    QWidget* m_panel;
    QWidget* m_readings;  // the digits and icons, dimmed together
    QLabel* m_lblNoConnection;
    QLabel* m_lblAlarm;
    AlarmMark m_alarmMark = AlarmMark::None;
    LcdImageLists m_lists;
    std::function<void()> m_waitUntilIdle;
};

}  // namespace kr820::lcd
