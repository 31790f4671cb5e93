// SPDX-License-Identifier: MIT
#include "app/alarm_desk.h"

#include <QLocale>
#include <QSettings>

#include "core/alarms/alarm_descriptions.h"
#include "core/alarms/alarm_log.h"
#include "core/alarms/alarm_reading.h"
#include "core/settings/program_folder.h"
#include "link/live_readings.h"

namespace kr820::app {

AlarmDesk::AlarmDesk(link::LiveReadings& readings, QString logPath, QObject* parent)
    : QObject(parent),
      m_logPath(std::move(logPath)),
      m_notifier(MakeDesktopNotifier()),
      m_sound(this),
      m_commands(QString(), link::AlarmCommandRunner::kDefaultLimit, this) {
    readings.FanOut().Attach(
        core::ReadingStage::Alarms, this,
        {.Reading =
             [this](const core::LiveReading& reading) {
                 const core::AlarmReading watched = core::AlarmReadingOf(reading);
                 m_lastUnit = watched.Unit;
                 Handle(m_engine.TakeReading(watched));
             },
         .LinkLost =
             [this](qint64 at) {
                 Handle(m_engine.TakeLinkLost(QDateTime::fromMSecsSinceEpoch(at)));
             }});
    connect(&m_commands, &link::AlarmCommandRunner::problem, this, &AlarmDesk::problem);
}

AlarmDesk::~AlarmDesk() = default;

void AlarmDesk::SetPreferences(const core::AlarmPreferences& preferences) {
    m_preferences = preferences;
    m_commands.SetCommand(preferences.Actions.Command);
    if (!preferences.Actions.Sound) m_sound.Stop();
    Handle(m_engine.SetSettings(preferences.Alarms, QDateTime::currentDateTime()));
    emit changed();
}

void AlarmDesk::LoadSettings() {
    const std::unique_ptr<QSettings> settings = core::OpenProgramSettings();
    SetPreferences(core::ReadAlarmPreferences(*settings));
    // An alarm raised before the program last ended is the same alarm, not a new one.
    m_engine.Resume(core::AlarmStatusesOfLog(core::ReadAlarmLog(m_logPath)));
    emit changed();
}

void AlarmDesk::SaveSettings() const {
    const std::unique_ptr<QSettings> settings = core::OpenProgramSettings();
    core::WriteAlarmPreferences(*settings, m_preferences);
}

QStringList AlarmDesk::BannerLines() const {
    QStringList lines;
    for (const core::AlarmId id : core::kAllAlarms) {
        const core::AlarmStatus& status = m_engine.Status(id);
        if (!status.WantsAcknowledge() || !status.LastRaise) continue;
        const core::AlarmEvent& raise = *status.LastRaise;
        QString line = core::AlarmEventText(raise) + QStringLiteral(" at ") +
                       QLocale::system().toString(raise.Time.toLocalTime(), QLocale::ShortFormat);
        if (status.Phase == core::AlarmPhase::Cleared && status.LastClear)
            line += QStringLiteral(" (cleared at %1)")
                        .arg(QLocale::system().toString(status.LastClear->Time.toLocalTime(),
                                                        QLocale::ShortFormat));
        lines.append(line);
    }
    return lines;
}

lcd::TfrmLCD::AlarmMark AlarmDesk::LcdMark() const {
    using Mark = lcd::TfrmLCD::AlarmMark;
    Mark mark = Mark::None;
    for (const core::AlarmId id : core::kAllAlarms) {
        const core::AlarmStatus& status = m_engine.Status(id);
        if (status.IsActive()) return Mark::Lasting;
        if (status.WantsAcknowledge()) mark = Mark::Cleared;
    }
    return mark;
}

void AlarmDesk::AcknowledgeAll() {
    m_sound.Stop();
    Handle(m_engine.AcknowledgeAll(QDateTime::currentDateTime()));
    emit changed();
}

void AlarmDesk::Handle(const std::vector<core::AlarmEvent>& events) {
    if (events.empty()) return;
    const core::AlarmActions& actions = m_preferences.Actions;
    for (const core::AlarmEvent& event : events) {
        if (!core::AppendAlarmLog(m_logPath, event) && !m_logFailureTold) {
            m_logFailureTold = true;
            emit problem(QStringLiteral("The alarm log \"%1\" cannot be written.").arg(m_logPath));
        }
        if (event.Change == core::AlarmChange::Acknowledged) continue;
        if (actions.Notify && m_notifier)
            m_notifier->Notify(core::AlarmTitle(event.Alarm), core::AlarmEventText(event),
                               actions.NotifyCritical ? NotificationUrgency::Critical
                                                      : NotificationUrgency::Normal);
        if (event.Change == core::AlarmChange::Raised && actions.Sound) m_sound.Start();
        m_commands.Run(event);
        if (m_onEvent) m_onEvent(event);
    }
    emit changed();
}

}  // namespace kr820::app
