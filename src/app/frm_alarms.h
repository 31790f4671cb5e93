// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "core/settings/alarm_preferences.h"
#include "core/setup/meter_setup.h"

namespace kr820::ui {
class Prompter;
}

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kr820::app {

// "Alarms": the limits, hysteresis and hold time per channel, each alarm on or off, and what
// happens when one is raised. The meter's own limits from the last setup read can be taken.
// Limits that can never work (core::CheckAlarmLimits) are refused: the dialog says why and stays
// open with what was typed, the cursor in the limit to mend.
class TfrmAlarms : public QDialog {
    Q_OBJECT

public:
    // `unit`: the unit the meter shows now, for limits that have none yet.
    TfrmAlarms(const core::AlarmPreferences& preferences,
               std::optional<core::MeterSetup> meterSetup, std::optional<core::DisplayUnit> unit,
               ui::Prompter& prompter, QWidget* parent = nullptr);

    core::AlarmPreferences Choice() const;
    void TakeMeterLimits();
    void accept() override;

private:
    struct ChannelRow {
        QCheckBox* highOn;
        QDoubleSpinBox* high;
        QCheckBox* lowOn;
        QDoubleSpinBox* low;
        QCheckBox* probe;
        QDoubleSpinBox* hysteresis;
        QDoubleSpinBox* hold;
    };
    void Show(const core::AlarmSettings& alarms);

    ui::Prompter& m_prompter;
    core::AlarmPreferences m_preferences;
    std::optional<core::MeterSetup> m_meterSetup;
    std::array<ChannelRow, 2> m_rows{};
    QCheckBox* m_meterLost;
    QPushButton* m_takeMeterLimits;
    QCheckBox* m_banner;
    QCheckBox* m_lcd;
    QCheckBox* m_notify;
    QCheckBox* m_notifyCritical;
    QCheckBox* m_sound;
    QLineEdit* m_command;
};

}  // namespace kr820::app
