// SPDX-License-Identifier: MIT
#include "app/frm_alarms.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/alarms/alarm_descriptions.h"
#include "core/alarms/alarm_limit_check.h"
#include "ui/fit_on_screen.h"
#include "ui/prompter.h"

namespace kr820::app {
namespace {

// Wide enough to take whatever is typed, so that a limit no reading reaches is refused with a
// word rather than cut to the box's range.
constexpr double kWidestTypedLimit = 99999.9;

QDoubleSpinBox* SpinBox(QWidget* parent, double lowest, double highest, const QString& suffix,
                        const QString& name) {
    auto* box = new QDoubleSpinBox(parent);
    box->setDecimals(1);
    box->setRange(lowest, highest);
    box->setSuffix(suffix);
    box->setObjectName(name);
    box->setAccessibleName(name);
    return box;
}

}  // namespace

TfrmAlarms::TfrmAlarms(const core::AlarmPreferences& preferences,
                       std::optional<core::MeterSetup> meterSetup,
                       std::optional<core::DisplayUnit> unit, ui::Prompter& prompter,
                       QWidget* parent)
    : QDialog(parent),
      m_prompter(prompter),
      m_preferences(preferences),
      m_meterSetup(std::move(meterSetup)) {
    setObjectName("frmAlarms");
    setWindowTitle(tr("Alarms"));
    if (!m_preferences.Alarms.LimitUnit) m_preferences.Alarms.LimitUnit = unit;
    const QString degrees =
        QStringLiteral(" ") +
        core::DegreesText(m_preferences.Alarms.LimitUnit.value_or(core::DisplayUnit::Celsius));

    auto* limits = new QGroupBox(tr("Limits"), this);
    auto* grid = new QGridLayout(limits);
    const QStringList headers = {QString(), QString(),   tr("High"),       QString(),
                                 tr("Low"), tr("Probe"), tr("Hysteresis"), tr("Hold")};
    for (int column = 0; column < headers.size(); ++column)
        grid->addWidget(new QLabel(headers[column], limits), 0, column);
    for (int i = 0; i < 2; ++i) {
        const QString channel = QStringLiteral("T%1").arg(i + 1);
        ChannelRow& row = m_rows[static_cast<size_t>(i)];
        row.highOn = new QCheckBox(limits);
        row.highOn->setObjectName(channel + "HighOn");
        row.highOn->setAccessibleName(tr("%1 high alarm").arg(channel));
        row.high =
            SpinBox(limits, -kWidestTypedLimit, kWidestTypedLimit, degrees, channel + "High");
        row.lowOn = new QCheckBox(limits);
        row.lowOn->setObjectName(channel + "LowOn");
        row.lowOn->setAccessibleName(tr("%1 low alarm").arg(channel));
        row.low = SpinBox(limits, -kWidestTypedLimit, kWidestTypedLimit, degrees, channel + "Low");
        row.probe = new QCheckBox(limits);
        row.probe->setObjectName(channel + "Probe");
        row.probe->setAccessibleName(tr("%1 probe fault").arg(channel));
        row.hysteresis = SpinBox(limits, 0, 100, degrees, channel + "Hysteresis");
        row.hold = SpinBox(limits, 0, 86400, tr(" s"), channel + "Hold");
        grid->addWidget(new QLabel(channel, limits), i + 1, 0);
        // Each check box sits before the limit it switches, under the limit's header.
        grid->addWidget(row.highOn, i + 1, 1);
        grid->addWidget(row.high, i + 1, 2);
        grid->addWidget(row.lowOn, i + 1, 3);
        grid->addWidget(row.low, i + 1, 4);
        grid->addWidget(row.probe, i + 1, 5);
        grid->addWidget(row.hysteresis, i + 1, 6);
        grid->addWidget(row.hold, i + 1, 7);
    }
    m_meterLost = new QCheckBox(tr("&Meter lost (the meter stops answering)"), limits);
    m_meterLost->setObjectName("MeterLost");
    grid->addWidget(m_meterLost, 3, 0, 1, 6);
    m_takeMeterLimits = new QPushButton(tr("&Take the meter's limits"), limits);
    m_takeMeterLimits->setObjectName("btnTakeMeterLimits");
    m_takeMeterLimits->setEnabled(m_meterSetup.has_value());
    m_takeMeterLimits->setToolTip(m_meterSetup ? tr("The alarm limits of the last setup read")
                                               : tr("Read the meter's setup first"));
    grid->addWidget(m_takeMeterLimits, 3, 6, 1, 2);
    connect(m_takeMeterLimits, &QPushButton::clicked, this, &TfrmAlarms::TakeMeterLimits);

    auto* actions = new QGroupBox(tr("When an alarm is raised or cleared"), this);
    auto* form = new QFormLayout(actions);
    m_banner = new QCheckBox(tr("Show a &banner in the main window"), actions);
    m_banner->setObjectName("Banner");
    m_lcd = new QCheckBox(tr("Mark the &LCD window"), actions);
    m_lcd->setObjectName("MarkLcd");
    m_notify = new QCheckBox(tr("Desktop &notification"), actions);
    m_notify->setObjectName("Notify");
    m_notifyCritical =
        new QCheckBox(tr("Keep notifications on screen &until closed (critical)"), actions);
    m_notifyCritical->setObjectName("NotifyCritical");
    connect(m_notify, &QCheckBox::toggled, m_notifyCritical, &QWidget::setEnabled);
    m_sound = new QCheckBox(tr("&Sound, repeated until acknowledged"), actions);
    m_sound->setObjectName("Sound");
    m_command = new QLineEdit(actions);
    m_command->setObjectName("Command");
    m_command->setPlaceholderText(
        tr("e.g. mail -s \"$KR820_CHANNEL $KR820_ALARM\" me@example.org"));
    m_command->setToolTip(
        tr("Run by /bin/sh with KR820_ALARM, KR820_KIND, KR820_CHANNEL, KR820_VALUE, "
           "KR820_LIMIT, KR820_UNIT and KR820_TIME in its environment"));
    form->addRow(m_banner);
    form->addRow(m_lcd);
    form->addRow(m_notify);
    form->addRow(m_notifyCritical);
    form->addRow(m_sound);
    form->addRow(tr("Run &command:"), m_command);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(limits);
    layout->addWidget(actions);
    layout->addWidget(buttons);
    ui::ScrollWhenLargerThanScreen(*this);

    Show(m_preferences.Alarms);
    const core::AlarmActions& chosen = m_preferences.Actions;
    m_banner->setChecked(chosen.Banner);
    m_lcd->setChecked(chosen.MarkLcd);
    m_notify->setChecked(chosen.Notify);
    m_notifyCritical->setChecked(chosen.NotifyCritical);
    m_notifyCritical->setEnabled(chosen.Notify);
    m_sound->setChecked(chosen.Sound);
    m_command->setText(chosen.Command);
}

void TfrmAlarms::Show(const core::AlarmSettings& alarms) {
    for (int i = 0; i < 2; ++i) {
        const core::ChannelAlarmSettings& channel = alarms.Channels[static_cast<size_t>(i)];
        const ChannelRow& row = m_rows[static_cast<size_t>(i)];
        row.highOn->setChecked(channel.High.On);
        row.high->setValue(channel.High.Limit);
        row.lowOn->setChecked(channel.Low.On);
        row.low->setValue(channel.Low.Limit);
        row.probe->setChecked(channel.ProbeFault);
        row.hysteresis->setValue(channel.Hysteresis);
        row.hold->setValue(static_cast<double>(channel.Hold.count()) / 1000.0);
    }
    m_meterLost->setChecked(alarms.MeterLost);
}

void TfrmAlarms::TakeMeterLimits() {
    if (!m_meterSetup) return;
    core::AlarmSettings alarms = Choice().Alarms;
    core::TakeMeterAlarmLimits(*m_meterSetup, alarms);
    Show(alarms);
}

void TfrmAlarms::accept() {
    const std::optional<core::AlarmLimitProblem> problem = core::CheckAlarmLimits(Choice().Alarms);
    if (!problem) {
        QDialog::accept();
        return;
    }
    m_prompter.Message(this, problem->Message);
    const ChannelRow& row = m_rows[problem->Alarm.Channel == core::AlarmChannel::T2 ? 1 : 0];
    QDoubleSpinBox* mend = problem->Alarm.Kind == core::AlarmKind::High ? row.high : row.low;
    mend->setFocus(Qt::OtherFocusReason);
    mend->selectAll();
}

core::AlarmPreferences TfrmAlarms::Choice() const {
    core::AlarmPreferences chosen = m_preferences;
    for (int i = 0; i < 2; ++i) {
        core::ChannelAlarmSettings& channel = chosen.Alarms.Channels[static_cast<size_t>(i)];
        const ChannelRow& row = m_rows[static_cast<size_t>(i)];
        channel.High = {row.highOn->isChecked(), row.high->value()};
        channel.Low = {row.lowOn->isChecked(), row.low->value()};
        channel.ProbeFault = row.probe->isChecked();
        channel.Hysteresis = row.hysteresis->value();
        channel.Hold = std::chrono::milliseconds(qRound64(row.hold->value() * 1000.0));
    }
    chosen.Alarms.MeterLost = m_meterLost->isChecked();
    chosen.Actions.Banner = m_banner->isChecked();
    chosen.Actions.MarkLcd = m_lcd->isChecked();
    chosen.Actions.Notify = m_notify->isChecked();
    chosen.Actions.NotifyCritical = m_notifyCritical->isChecked();
    chosen.Actions.Sound = m_sound->isChecked();
    chosen.Actions.Command = m_command->text().trimmed();
    return chosen;
}

}  // namespace kr820::app
