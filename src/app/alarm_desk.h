// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "app/alarm_notifier.h"
#include "app/alarm_sound.h"
#include "core/alarms/alarm_engine.h"
#include "core/live/display_digits.h"
#include "core/settings/alarm_preferences.h"
#include "lcd/frm_lcd.h"
#include "link/alarm_command.h"

namespace kr820::link {
class LiveReadings;
}

namespace kr820::app {

// The desktop's alarms: watches the one stream of readings through the engine and does what the
// user chose with each event: the log in the program folder, the banner and the LCD mark (through
// `changed`), a notification, the sound until acknowledged, the user's command, and the mark on a
// running recording (`SetOnEvent`).
class AlarmDesk : public QObject {
    Q_OBJECT

public:
    AlarmDesk(link::LiveReadings& readings, QString logPath, QObject* parent = nullptr);
    ~AlarmDesk() override;

    const core::AlarmPreferences& Preferences() const { return m_preferences; }
    // Takes new preferences now (and keeps them in the program's settings with Save).
    void SetPreferences(const core::AlarmPreferences& preferences);
    // Also takes up the alarms' state where the log left it.
    void LoadSettings();
    void SaveSettings() const;

    const core::AlarmEngine& Engine() const { return m_engine; }
    // The unit the meter showed last, none before a reading came.
    std::optional<core::DisplayUnit> LastUnit() const { return m_lastUnit; }
    // The alarms the user has not acknowledged yet, oldest raise first, as banner lines.
    QStringList BannerLines() const;
    // The LCD window's mark: an alarm active, or only cleared ones not yet acknowledged.
    lcd::TfrmLCD::AlarmMark LcdMark() const;
    void AcknowledgeAll();

    const QString& LogPath() const { return m_logPath; }
    void SetNotifier(std::unique_ptr<AlarmNotifier> notifier) { m_notifier = std::move(notifier); }
    void SetOnEvent(std::function<void(const core::AlarmEvent&)> handler) {
        m_onEvent = std::move(handler);
    }
    link::AlarmCommandRunner& Commands() { return m_commands; }
    AlarmSound& Sound() { return m_sound; }

signals:
    // The banner, the LCD mark or the log changed.
    void changed();
    // The command failed, hung or could not be logged: one line for the user.
    void problem(const QString& line);

private:
    void Handle(const std::vector<core::AlarmEvent>& events);

    core::AlarmEngine m_engine;
    core::AlarmPreferences m_preferences;
    QString m_logPath;
    std::unique_ptr<AlarmNotifier> m_notifier;
    AlarmSound m_sound;
    link::AlarmCommandRunner m_commands;
    std::function<void(const core::AlarmEvent&)> m_onEvent;
    std::optional<core::DisplayUnit> m_lastUnit;
    bool m_logFailureTold = false;
};

}  // namespace kr820::app
