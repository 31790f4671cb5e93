// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <array>
#include <optional>
#include <vector>

#include "core/alarms/alarm_event.h"
#include "core/alarms/alarm_reading.h"
#include "core/alarms/alarm_settings.h"

namespace kr820::core {

// Watches the readings for the alarms the settings switch on. It has no timer and reads no
// clock: every call brings its time, and each returns the events it caused, oldest first, while
// Status answers where each alarm stands.
//
// Limits compare in tenths of a degree, the resolution the meter shows: with a high limit of
// 85.0 a reading of 85.1 raises and 85.0 does not; a low limit of -5.0 raises at -5.1. A raised
// alarm clears strictly past the hysteresis (below 84.5, above -4.5 with 0.5), so noise smaller
// than the hysteresis cannot raise and clear it in turn. A reading without a value for a channel
// neither raises nor clears its limit alarms (nothing is known), but it is what raises the probe
// fault; a reading with a value clears the probe fault.
//
// The meter's display unit may change while it runs. Limits keep the temperature they were set
// at: they stay in the unit they were given in and are converted to each reading's unit (to the
// tenth) when compared, so a raised alarm stays raised across the change and its events report
// value and limit in the unit of the reading that caused them.
class AlarmEngine {
public:
    explicit AlarmEngine(const AlarmSettings& settings = {});

    const AlarmSettings& Settings() const { return m_settings; }
    // Takes new settings at `time`. An alarm switched off becomes Normal (with a Cleared event
    // when it was active); holds under way start again with the next reading. The meter lost
    // alarm switched on while the meter is lost is raised at once.
    std::vector<AlarmEvent> SetSettings(const AlarmSettings& settings, const QDateTime& time);

    std::vector<AlarmEvent> TakeReading(const AlarmReading& reading);
    // The link declared the meter lost. The next reading clears the alarm. Holds under way start
    // again: nobody knows what the channels did in between.
    std::vector<AlarmEvent> TakeLinkLost(const QDateTime& time);

    // The user has seen it: Raised becomes Acknowledged, Cleared becomes Normal; otherwise
    // nothing happens and no event is returned.
    std::vector<AlarmEvent> Acknowledge(AlarmId id, const QDateTime& time);
    std::vector<AlarmEvent> AcknowledgeAll(const QDateTime& time);

    // Normal for an id that names no alarm.
    const AlarmStatus& Status(AlarmId id) const;
    // Takes up where an earlier run left its alarms (AlarmStatusesOfLog), so that an alarm raised
    // then is not raised again: only alarms switched on and still Normal here take their status.
    void Resume(const std::array<AlarmStatus, kAlarmCount>& statuses);
    // The unit the limits are in: the settings' own, or that of the first reading.
    std::optional<DisplayUnit> LimitUnit() const { return m_limitUnit; }

private:
    struct Track {
        AlarmStatus status;
        std::optional<QDateTime> beyondSince;  // when the hold under way began
    };
    // One alarm's reading: whether it is beyond (raise after the hold) or back (clear).
    struct Verdict {
        bool beyond = false;
        bool back = false;
        std::optional<double> value;
        std::optional<double> limit;
    };

    void WatchChannel(AlarmChannel channel, const std::optional<double>& value,
                      const AlarmReading& reading, std::vector<AlarmEvent>& events);
    Verdict LimitVerdict(AlarmKind kind, const ChannelAlarmSettings& channel, double value,
                         DisplayUnit unit) const;
    void Step(AlarmId id, const Verdict& verdict, std::chrono::milliseconds hold,
              const AlarmReading& reading, std::vector<AlarmEvent>& events);
    void Raise(Track& track, AlarmEvent event, std::vector<AlarmEvent>& events);
    void Clear(Track& track, AlarmEvent event, std::vector<AlarmEvent>& events);
    // Raise and Clear set the change.
    AlarmEvent EventWithoutValue(AlarmId id, const QDateTime& time) const;
    void RestartHolds();
    Track& TrackOf(AlarmId id);

    AlarmSettings m_settings;
    std::optional<DisplayUnit> m_limitUnit;
    std::optional<DisplayUnit> m_lastReadingUnit;
    std::array<Track, kAlarmCount> m_tracks;
    bool m_linkLost = false;  // from a lost link to the next reading
};

}  // namespace kr820::core
