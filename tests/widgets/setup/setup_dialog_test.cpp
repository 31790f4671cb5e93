// SPDX-License-Identifier: MIT
// The setup dialog: its initial texts, what a read setup shows, the print-mode and alarm rules,
// what a save would write, and fields that stop a save before anything is sent.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>

#include "meter/frm_setup.h"

namespace kr820::meter {
namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(21, 53, 8));

// Time passes only when the test says so.
class StillClock : public link::Clock {
public:
    TimePoint Now() const override { return m_now; }
    void Pause(std::chrono::milliseconds span) override { m_now += span; }
    void Sleep(std::chrono::microseconds span) override { m_now += span; }

private:
    TimePoint m_now{std::chrono::hours(1)};
};

core::MeterSetup ReadFromMeter() {
    core::MeterSetup setup;
    setup.PrintStart = QDateTime(QDate(2026, 12, 7), QTime(8, 30));
    setup.PrintStop = QDateTime(QDate(2026, 12, 7), QTime(17, 0));
    setup.RecordStart = QDateTime(QDate(2026, 12, 8), QTime(0, 0));
    setup.RecordStop = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59));
    setup.MeterClock = kNow.addSecs(-133);
    setup.RecordIntervalIndex = 13;
    setup.LowLimit = -220;
    setup.Unshown = {1, 2, 3};
    setup.MemRecords = 500;
    setup.MemLeft = 47884;
    return setup;
}

class SetupDialog : public ::testing::Test {
protected:
    template <typename Widget>
    Widget* Control(const char* name) {
        auto* control = dialog.findChild<Widget*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    bool Shown(const char* name) { return !Control<QWidget>(name)->isHidden(); }

    StillClock clock;
    TfrmSetup dialog{nullptr, QLocale::c(), clock};
};

TEST_F(SetupDialog, StartsWithItsTextsAsTheMeterShowsThem) {
    EXPECT_EQ(dialog.windowTitle(), "Setup");
    EXPECT_EQ(Control<QComboBox>("cmbPrintMode")->currentText(), "  GRAPH");
    EXPECT_EQ(Control<QComboBox>("cmbAlarmSetup")->currentText(), "      ON");
    EXPECT_EQ(Control<QComboBox>("cmbAPO")->itemText(1), "                     ALWAYS ON");
    EXPECT_EQ(Control<QComboBox>("cmbAlarmSetup")->itemText(1), " OFF");
    EXPECT_EQ(Control<QLineEdit>("edtAlarmUpper")->text(), "    2498.0");
    EXPECT_EQ(Control<QLineEdit>("edtAlarmLower")->text(), "     -328.0");
    EXPECT_EQ(Control<QLineEdit>("MemRecords")->text(), "00000");
    EXPECT_EQ(Control<QLineEdit>("MemLeft")->text(), "32000");
    EXPECT_EQ(Control<QLineEdit>("edtLowLimit")->text(), "0");
    EXPECT_EQ(Control<QSpinBox>("UpDownLowLimit")->minimum(), -220);
    EXPECT_EQ(Control<QSpinBox>("UpDownLowLimit")->maximum(), 2400);
    EXPECT_EQ(Control<QSpinBox>("UpDownLowLimit")->singleStep(), 10);
    EXPECT_EQ(Control<QComboBox>("edtRECInterval")->count(), 14);
    EXPECT_TRUE(Control<QRadioButton>("RadioK")->isChecked());
    EXPECT_TRUE(dialog.PcTimeTicked());
}

TEST_F(SetupDialog, ShowsTheSetupAndWritesBackExactlyWhatItShowed) {
    dialog.FillSetupDialog(ReadFromMeter(), kNow);
    EXPECT_EQ(Control<QComboBox>("edtRECInterval")->currentText(), "02:00:00");
    EXPECT_EQ(Control<QLineEdit>("edtLowLimit")->text(), "-220");
    EXPECT_EQ(Control<QLineEdit>("edtAlarmUpper")->text(), "2498.0");
    EXPECT_EQ(Control<QLineEdit>("MemRecords")->text(), "500");
    EXPECT_EQ(Control<QLineEdit>("MemLeft")->text(), "47884");
    EXPECT_EQ(dialog.ClockOffset(), "Meter clock 2 min 13 s behind this computer");
    EXPECT_TRUE(dialog.ChangesText().isEmpty());

    const SetupDialogReading reading = dialog.ReadSetupDialog();
    ASSERT_TRUE(reading.Setup) << reading.Problem.toStdString();
    core::MeterSetup expected = ReadFromMeter();
    EXPECT_EQ(core::EncodeMeterSetup(*reading.Setup), core::EncodeMeterSetup(expected));
}

TEST_F(SetupDialog, PrintModeAndAlarmDecideWhatIsShown) {
    dialog.show();
    auto* mode = Control<QComboBox>("cmbPrintMode");
    mode->setCurrentIndex(0);  // TEXT
    EXPECT_FALSE(Shown("cmbGraphINCH"));
    EXPECT_FALSE(Shown("UpDownLowLimit"));
    EXPECT_TRUE(Shown("edtPrintInterval"));
    EXPECT_EQ(Control<QLabel>("lblScaleWidth")->text(), "Print Interval");
    mode->setCurrentIndex(1);  // GRAPH
    EXPECT_TRUE(Shown("cmbGraphINCH"));
    EXPECT_TRUE(Shown("edtLowLimit"));
    EXPECT_FALSE(Shown("edtPrintInterval"));
    EXPECT_EQ(Control<QLabel>("lblScaleWidth")->text(), "Scale Width");

    Control<QComboBox>("cmbAlarmSetup")->setCurrentIndex(1);
    EXPECT_FALSE(Shown("edtAlarmUpper"));
    EXPECT_FALSE(Shown("lblAlarmLower"));
    Control<QComboBox>("cmbAlarmSetup")->setCurrentIndex(0);
    EXPECT_TRUE(Shown("edtAlarmUpper"));
}

TEST_F(SetupDialog, EditsAreListedAndTheLowLimitIsCutToTens) {
    dialog.FillSetupDialog(ReadFromMeter(), kNow);
    Control<QComboBox>("edtRECInterval")->setCurrentIndex(6);
    Control<QLineEdit>("edtLowLimit")->setText("2398");
    EXPECT_EQ(dialog.ChangesText(),
              "Changes to save:\nLow limit: -220 → 2390\nRecord interval: 02:00:00 → 00:01:00");
    const SetupDialogReading reading = dialog.ReadSetupDialog();
    ASSERT_TRUE(reading.Setup);
    EXPECT_EQ(reading.Setup->LowLimit, 2390);
    EXPECT_EQ(Control<QLineEdit>("edtLowLimit")->text(), "2390");
    EXPECT_EQ(Control<QSpinBox>("UpDownLowLimit")->value(), 2390);
}

TEST_F(SetupDialog, AFieldThatIsNoNumberStopsTheSaveNamingTheField) {
    dialog.FillSetupDialog(ReadFromMeter(), kNow);
    Control<QLineEdit>("edtLowLimit")->setText("12.5");
    EXPECT_EQ(dialog.ReadSetupDialog().Problem, "Low Limit: \"12.5\" is not a whole number.");
    Control<QLineEdit>("edtLowLimit")->setText("10");
    Control<QLineEdit>("edtAlarmLower")->setText(" cold ");
    const SetupDialogReading reading = dialog.ReadSetupDialog();
    EXPECT_FALSE(reading.Setup);
    EXPECT_EQ(reading.Problem, "Alarm Lower: \"cold\" is not a number.");
}

// The meter keeps the year as two digits after 2000: 2100 would be written as 2000.
TEST_F(SetupDialog, NoDateOutsideTheMetersYearsCanBePicked) {
    const QList<QDateEdit*> pickers = dialog.findChildren<QDateEdit*>();
    EXPECT_EQ(pickers.size(), 5);
    for (const QDateEdit* picker : pickers) {
        SCOPED_TRACE(picker->objectName().toStdString());
        EXPECT_EQ(picker->minimumDate(), QDate(2000, 1, 1));
        EXPECT_EQ(picker->maximumDate(), QDate(2099, 12, 31));
    }
}

TEST_F(SetupDialog, TheClockRunsOnFromTheMetersTimeAndFromWhatTheUserSets) {
    const core::MeterSetup read = ReadFromMeter();
    dialog.FillSetupDialog(read, kNow);
    clock.Pause(std::chrono::seconds(35));
    EXPECT_EQ(dialog.ClockValue(), read.MeterClock.addSecs(35));

    Control<QTimeEdit>("RTCTime")->setTime(QTime(10, 0, 0));
    clock.Pause(std::chrono::seconds(35));
    EXPECT_EQ(dialog.ClockValue(), QDateTime(read.MeterClock.date(), QTime(10, 0, 35)));
    // A date picked later keeps the time running.
    Control<QDateEdit>("RTCDate")->setDate(QDate(2027, 1, 2));
    clock.Pause(std::chrono::seconds(10));
    EXPECT_EQ(dialog.ClockValue(), QDateTime(QDate(2027, 1, 2), QTime(10, 0, 45)));
}

}  // namespace
}  // namespace kr820::meter
