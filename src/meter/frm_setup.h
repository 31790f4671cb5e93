// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QLocale>
#include <functional>
#include <optional>

#include "core/setup/meter_setup.h"
#include "link/clock.h"
#include "meter/running_clock.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;
class QTimer;

namespace kr820::meter {

// What ReadSetupDialog gives: the setup to write, or why there is none.
struct SetupDialogReading {
    std::optional<core::MeterSetup> Setup;
    QString Problem;  // names the field and what it holds
};

// "Setup": the meter's print, clock, record, memory, power, alarm and thermocouple settings as
// read from the meter, edited and saved back with SAVE; ERASE clears the logger memory. Under its
// groups it lists what a save would change, and says how far the meter's clock is from this
// computer's. The clock pickers run on like the meter's clock, from the meter's time or from
// what the user set, on `clock`.
class TfrmSetup : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSetup(QWidget* owner = nullptr, const QLocale& locale = QLocale::system(),
                       link::Clock& clock = link::SteadyClock::Shared());

    // Shows what the meter holds; `now` is this computer's clock at the read.
    void FillSetupDialog(const core::MeterSetup& setup, const QDateTime& now);
    // The controls as a setup to write. The low limit is cut to a multiple of 10 and shown so.
    // A field the meter cannot hold as given is refused and takes the cursor, its text kept.
    SetupDialogReading ReadSetupDialog();

    void cmbPrintModeChange();
    void cmbAlarmSetupChange();

    bool PcTimeTicked() const;
    // The clock value sent, shown in the clock pickers, which run on from it.
    void ShowClock(const QDateTime& value);
    // The pickers' clock as it now is: what the user set, or the meter's, run on since.
    QDateTime ClockValue() const;
    // After a save: the first `count` setup bytes of `written` reached the meter, and the list of
    // changes counts from what the meter now holds.
    void ShowWritten(const core::MeterSetup& written, int count);
    // After a save: the meter's clock was set to `meterClock` at `computerClock`.
    void ShowMeterClock(const QDateTime& meterClock, const QDateTime& computerClock);
    // After an erase: nothing recorded, the whole memory free.
    void ShowMemoryCleared();

    // The SAVE and ERASE buttons; the dialog stays open.
    void SetOnSave(std::function<void()> save) { m_onSave = std::move(save); }
    void SetOnErase(std::function<void()> erase) { m_onErase = std::move(erase); }

    // The lines under the groups: what a save would change, and the clock's offset.
    QString ChangesText() const;
    QString ClockOffset() const;

private:
    void BuildPrintGroup(QGridLayout& grid);
    void BuildOtherGroups(QGridLayout& grid);
    void UpdateChanges();
    void PutClockInPickers(bool evenWhileEdited);

    QLocale m_locale;
    std::optional<core::MeterSetup> m_read;
    core::MeterSetup m_template;  // fields no control shows, kept from the read
    std::function<void()> m_onSave;
    std::function<void()> m_onErase;
    RunningClock m_pickedClock;
    QTimer* m_clockTicker;

    QDateEdit* m_printStartDate;
    QTimeEdit* m_printStartTime;
    QDateEdit* m_printStopDate;
    QTimeEdit* m_printStopTime;
    QComboBox* m_cmbPrintMode;
    QLabel* m_lblGraphCMHR;
    QComboBox* m_cmbGraphINCH;
    QLabel* m_lblLowLimit;
    QLineEdit* m_edtLowLimit;
    QSpinBox* m_upDownLowLimit;
    QLabel* m_lblScaleWidth;
    QComboBox* m_edtScaleWidth;
    QComboBox* m_edtPrintInterval;
    QDateEdit* m_rtcDate;
    QTimeEdit* m_rtcTime;
    QCheckBox* m_chkPCTime;
    QDateEdit* m_recStartDate;
    QTimeEdit* m_recStartTime;
    QDateEdit* m_recStopDate;
    QTimeEdit* m_recStopTime;
    QComboBox* m_edtRECInterval;
    QLineEdit* m_memRecords;
    QLineEdit* m_memLeft;
    QPushButton* m_btnErase;
    QComboBox* m_cmbAPO;
    QLabel* m_lblAlarmUpper;
    QLineEdit* m_edtAlarmUpper;
    QLabel* m_lblAlarmLower;
    QLineEdit* m_edtAlarmLower;
    QComboBox* m_cmbAlarmSetup;
    QRadioButton* m_radioK;
    QRadioButton* m_radioJ;
    QPushButton* m_btnSave;
    QPushButton* m_btnExit;
    QLabel* m_lblChanges;
    QLabel* m_lblClockOffset;
};

}  // namespace kr820::meter
