// SPDX-License-Identifier: MIT
// The desktop's alarms against the emulated meter: T1 beyond its limit shows the banner, marks
// the LCD, writes the log, notifies and runs the user's command once with the alarm in its
// environment; Acknowledge and the return below the limit end it. A probe fault and a lost
// meter are alarms of their own.
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include "app/alarm_banner.h"
#include "app/alarm_desk.h"
#include "app/frm_alarms.h"
#include "core/alarms/alarm_log.h"
#include "fake_notifier.h"
#include "lcd/frm_lcd.h"
#include "main_window_rig.h"

namespace kr820::testing {
namespace {

emulator::MeterState WithT1(std::int16_t tenths, std::uint8_t invalid = 0) {
    emulator::MeterState state;
    state.t1.tenthsC = tenths;
    state.t1.invalid = invalid;
    state.t2.tenthsC = 200;
    return state;
}

QStringList LogChanges(const QString& path) {
    QStringList changes;
    for (const core::AlarmLogEntry& entry : core::ReadAlarmLog(path))
        changes << entry.Change + u' ' + entry.Alarm;
    return changes;
}

class DesktopAlarmsTest : public MainWindowRig {
protected:
    void Start(const core::AlarmSettings& alarms) {
        meterState = WithT1(250);
        StartProgram();
        if (HasFatalFailure()) return;
        meter->SetState(meterState);
        auto notifier = std::make_unique<FakeNotifier>(notified);
        notifiedUrgencies = &notifier->urgencies;
        window->Alarms().SetNotifier(std::move(notifier));
        core::AlarmPreferences preferences;
        preferences.Alarms = alarms;
        preferences.Actions.Command =
            QStringLiteral(
                "env | grep -E '^KR820_(ALARM|KIND|CHANNEL|VALUE|LIMIT|UNIT|TIME)=' "
                "| sort >> '%1'; echo >> '%1'")
                .arg(InHome("env"));
        window->Alarms().SetPreferences(preferences);
    }
    app::AlarmBanner& Banner() const { return *window->AlarmBannerWidget(); }
    QString Environment() const {
        QFile file(InHome("env"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QString Log() const { return window->Alarms().LogPath(); }

    emulator::MeterState meterState;
    QStringList notified;
    std::vector<app::NotificationUrgency>* notifiedUrgencies = nullptr;
};

TEST_F(DesktopAlarmsTest, AHighLimitRaisesActsOnceAndClearsAfterAcknowledge) {
    core::AlarmSettings alarms;
    alarms.Channel(core::AlarmChannel::T1).High = {true, 30.0};
    Start(alarms);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(
        ProcessEventsUntil([&] { return window->Alarms().Engine().LimitUnit().has_value(); }));
    EXPECT_TRUE(Banner().isHidden());

    meter->SetState(WithT1(350));
    ASSERT_TRUE(ProcessEventsUntil([&] { return Banner().isVisible(); }, 10000));
    EXPECT_TRUE(Banner().Text().startsWith(
        QStringLiteral("T1 high alarm raised: 35.0 \u00B0C, limit 30.0 \u00B0C at ")))
        << Banner().Text().toStdString();
    EXPECT_TRUE(window->LcdWindow()->AlarmMarked());
    EXPECT_EQ(notified, QStringList{"T1 high alarm: T1 high alarm raised: 35.0 \u00B0C, limit "
                                    "30.0 \u00B0C"});
    ASSERT_TRUE(ProcessEventsUntil([&] { return Environment().endsWith("\n\n"); }, 10000));
    const QStringList environment = Environment().split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(environment.mid(0, 6),
              (QStringList{"KR820_ALARM=raised", "KR820_CHANNEL=T1", "KR820_KIND=high",
                           "KR820_LIMIT=30.0", "KR820_TIME=" + environment.value(4).mid(11),
                           "KR820_UNIT=C"}));
    EXPECT_TRUE(QDateTime::fromString(environment.value(4).mid(11), Qt::ISODate).isValid());
    EXPECT_EQ(environment.value(6), "KR820_VALUE=35.0");
    EXPECT_EQ(LogChanges(Log()), QStringList{"raised t1-high"});

    // Readings beyond the limit go on: nothing more is raised, run or told.
    ProcessEventsUntil([] { return false; }, 2500);
    EXPECT_EQ(notified.size(), 1);
    EXPECT_EQ(Environment().count("KR820_ALARM="), 1);

    Banner().AcknowledgeButton()->click();
    EXPECT_TRUE(Banner().isHidden());
    EXPECT_TRUE(window->LcdWindow()->AlarmMarked());  // still beyond the limit
    meter->SetState(WithT1(250));
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window->LcdWindow()->AlarmMarked(); }, 10000));
    EXPECT_TRUE(Banner().isHidden());
    ASSERT_TRUE(ProcessEventsUntil([&] { return Environment().count("\n\n") == 2; }, 10000));
    EXPECT_TRUE(Environment().contains("KR820_ALARM=cleared\n"));
    EXPECT_EQ(LogChanges(Log()),
              (QStringList{"raised t1-high", "acknowledged t1-high", "cleared t1-high"}));
    EXPECT_EQ(notified.size(), 2);

    // The log window shows the log, kept in the program folder.
    window->AlarmLogClick();
    ASSERT_TRUE(window->AlarmLogWindow());
    EXPECT_EQ(window->AlarmLogWindow()->Table()->rowCount(), 3);
    EXPECT_TRUE(QFile::exists(InHome("alarms.log")));
}

TEST_F(DesktopAlarmsTest, TheLcdMarkSaysLastingThenClearedThenNothing) {
    core::AlarmSettings alarms;
    alarms.Channel(core::AlarmChannel::T1).High = {true, 30.0};
    Start(alarms);
    ASSERT_FALSE(HasFatalFailure());
    using Mark = lcd::TfrmLCD::AlarmMark;
    lcd::TfrmLCD& lcd = *window->LcdWindow();
    meter->SetState(WithT1(350));
    ASSERT_TRUE(ProcessEventsUntil([&] { return lcd.ShownAlarmMark() == Mark::Lasting; }, 10000));
    EXPECT_EQ(lcd.findChild<QLabel*>("lblAlarm")->text(), "ALARM");
    EXPECT_EQ(notified.size(), 1);
    ASSERT_EQ(notifiedUrgencies->size(), 1u);
    EXPECT_EQ(notifiedUrgencies->front(), app::NotificationUrgency::Normal);
    // Over, not yet acknowledged: a mark of its own, not the alarm's.
    meter->SetState(WithT1(250));
    ASSERT_TRUE(ProcessEventsUntil([&] { return lcd.ShownAlarmMark() == Mark::Cleared; }, 10000));
    EXPECT_EQ(lcd.findChild<QLabel*>("lblAlarm")->text(), "CLEARED");
    EXPECT_TRUE(Banner().isVisible());
    Banner().AcknowledgeButton()->click();
    EXPECT_EQ(lcd.ShownAlarmMark(), Mark::None);
    EXPECT_TRUE(lcd.findChild<QLabel*>("lblAlarm")->isHidden());
}

TEST_F(DesktopAlarmsTest, MeterLostTickedWhileTheMeterIsLostIsRaisedAtOnce) {
    Start(core::AlarmSettings{});
    ASSERT_FALSE(HasFatalFailure());
    meter->Unplug();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window->State().Connected; }, 15000));
    core::AlarmPreferences preferences = window->Alarms().Preferences();
    preferences.Alarms.MeterLost = true;
    window->Alarms().SetPreferences(preferences);
    EXPECT_TRUE(Banner().Text().startsWith("Meter lost raised")) << Banner().Text().toStdString();
    EXPECT_EQ(LogChanges(Log()), QStringList{"raised lost"});
}

TEST_F(DesktopAlarmsTest, AnAlarmRaisedBeforeARestartIsNotRaisedAgain) {
    core::AlarmSettings alarms;
    alarms.Channel(core::AlarmChannel::T1).High = {true, 30.0};
    Start(alarms);
    ASSERT_FALSE(HasFatalFailure());
    window->Alarms().SaveSettings();
    meter->SetState(WithT1(350));
    ASSERT_TRUE(ProcessEventsUntil([&] { return Banner().isVisible(); }, 10000));
    ASSERT_EQ(LogChanges(Log()), QStringList{"raised t1-high"});

    // The program started again on the same log and settings, the reading still beyond.
    app::AlarmDesk again(window->Link().Readings(), Log());
    QStringList notifiedAgain;
    again.SetNotifier(std::make_unique<FakeNotifier>(notifiedAgain));
    again.LoadSettings();
    EXPECT_EQ(again.Engine().Status({core::AlarmKind::High, core::AlarmChannel::T1}).Phase,
              core::AlarmPhase::Raised);
    EXPECT_FALSE(again.BannerLines().isEmpty()) << "still waits to be acknowledged";
    // Readings beyond the limit go on: nothing is raised, told or logged a second time.
    ProcessEventsUntil([] { return false; }, 2500);
    EXPECT_TRUE(notifiedAgain.isEmpty());
    EXPECT_EQ(LogChanges(Log()), QStringList{"raised t1-high"});
}

TEST_F(DesktopAlarmsTest, AProbeFaultAndALostMeterAreAlarmsOfTheirOwn) {
    core::AlarmSettings alarms;
    alarms.Channel(core::AlarmChannel::T1).ProbeFault = true;
    alarms.MeterLost = true;
    Start(alarms);
    ASSERT_FALSE(HasFatalFailure());
    meter->SetState(WithT1(32767, 1));
    ASSERT_TRUE(ProcessEventsUntil([&] { return Banner().isVisible(); }, 10000));
    EXPECT_TRUE(Banner().Text().startsWith("T1 probe fault raised at "))
        << Banner().Text().toStdString();
    meter->Unplug();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Banner().Text().contains("Meter lost"); }, 15000));
    EXPECT_EQ(LogChanges(Log()), (QStringList{"raised t1-probe", "raised lost"}));
}

TEST_F(DesktopAlarmsTest, TheDialogComesFromItsMenuAndButtonAndKeepsItsChoice) {
    StartProgram();
    ASSERT_FALSE(HasFatalFailure());
    // Limits set with nothing said of their unit are in the one the meter shows.
    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Alarms().LastUnit().has_value(); }));
    auto* button = window->findChild<QToolButton*>("btnAlarms");
    ASSERT_TRUE(button);
    // Right after Setup Meter on the tool bar.
    QToolBar* bar = window->findChild<QToolBar*>("ToolBar1");
    const QList<QAction*> actions = bar->actions();
    for (qsizetype i = 0; i + 1 < actions.size(); ++i) {
        if (bar->widgetForAction(actions[i])->objectName() == "btnSetup") {
            EXPECT_EQ(bar->widgetForAction(actions[i + 1]), button);
        }
    }
    ASSERT_TRUE(window->findChild<QAction*>("AlarmSettings1"));
    int shown = 0;
    prompter.onDialog = [&](QDialog& dialog) {
        auto* alarms = qobject_cast<app::TfrmAlarms*>(&dialog);
        if (!alarms) return int(QDialog::Rejected);
        ++shown;
        // No setup was read: the meter's limits cannot be taken yet.
        EXPECT_FALSE(alarms->findChild<QPushButton*>("btnTakeMeterLimits")->isEnabled());
        alarms->findChild<QCheckBox*>("T2LowOn")->setChecked(true);
        alarms->findChild<QDoubleSpinBox*>("T2Low")->setValue(-18.0);
        return int(QDialog::Accepted);
    };
    button->click();
    window->findChild<QAction*>("AlarmSettings1")->trigger();
    EXPECT_EQ(shown, 2);
    const core::AlarmSettings& chosen = window->Alarms().Preferences().Alarms;
    EXPECT_TRUE(chosen.Channel(core::AlarmChannel::T2).Low.On);
    EXPECT_EQ(chosen.Channel(core::AlarmChannel::T2).Low.Limit, -18.0);

    // Kept in the program's settings: a new desk reads them back.
    app::AlarmDesk again(window->Link().Readings(), InHome("other.log"));
    again.LoadSettings();
    EXPECT_EQ(again.Preferences().Alarms.Channel(core::AlarmChannel::T2).Low.Limit, -18.0);
    EXPECT_TRUE(again.Preferences().Alarms.Channel(core::AlarmChannel::T2).Low.On);
    EXPECT_EQ(again.Preferences().Alarms.LimitUnit, core::DisplayUnit::Celsius);
}

}  // namespace
}  // namespace kr820::testing
