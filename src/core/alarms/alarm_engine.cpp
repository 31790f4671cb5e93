// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_engine.h"

#include <algorithm>
#include <cmath>

#include "core/live/temperature_units.h"

namespace kr820::core {
namespace {

qint64 Tenths(double degrees) { return std::llround(degrees * 10.0); }
double FromTenths(qint64 tenths) { return static_cast<double>(tenths) / 10.0; }

}  // namespace

AlarmEngine::AlarmEngine(const AlarmSettings& settings)
    : m_settings(settings), m_limitUnit(settings.LimitUnit) {}

std::vector<AlarmEvent> AlarmEngine::SetSettings(const AlarmSettings& settings,
                                                 const QDateTime& time) {
    std::vector<AlarmEvent> events;
    for (const AlarmId id : kAllAlarms) {
        Track& track = TrackOf(id);
        if (settings.IsOn(id) || track.status.Phase == AlarmPhase::Normal) continue;
        if (track.status.IsActive()) {
            Clear(track, EventWithoutValue(id, time), events);
        }
        track.status.Phase = AlarmPhase::Normal;
    }
    m_settings = settings;
    m_limitUnit = settings.LimitUnit ? settings.LimitUnit : m_lastReadingUnit;
    RestartHolds();
    const AlarmId lostId{AlarmKind::MeterLost, AlarmChannel::None};
    Track& lost = TrackOf(lostId);
    if (m_linkLost && settings.MeterLost && !lost.status.IsActive())
        Raise(lost, EventWithoutValue(lostId, time), events);
    return events;
}

std::vector<AlarmEvent> AlarmEngine::TakeReading(const AlarmReading& reading) {
    std::vector<AlarmEvent> events;
    m_lastReadingUnit = reading.Unit;
    m_linkLost = false;
    if (!m_limitUnit) m_limitUnit = reading.Unit;

    // A reading is the meter answering again.
    const AlarmId lostId{AlarmKind::MeterLost, AlarmChannel::None};
    Track& lost = TrackOf(lostId);
    if (lost.status.IsActive()) {
        Clear(lost, EventWithoutValue(lostId, reading.Time), events);
    }
    WatchChannel(AlarmChannel::T1, reading.T1, reading, events);
    WatchChannel(AlarmChannel::T2, reading.T2, reading, events);
    return events;
}

std::vector<AlarmEvent> AlarmEngine::TakeLinkLost(const QDateTime& time) {
    std::vector<AlarmEvent> events;
    RestartHolds();
    m_linkLost = true;
    const AlarmId id{AlarmKind::MeterLost, AlarmChannel::None};
    Track& lost = TrackOf(id);
    if (m_settings.MeterLost && !lost.status.IsActive()) {
        Raise(lost, EventWithoutValue(id, time), events);
    }
    return events;
}

std::vector<AlarmEvent> AlarmEngine::Acknowledge(AlarmId id, const QDateTime& time) {
    if (AlarmIndex(id) < 0) return {};
    AlarmStatus& status = TrackOf(id).status;
    if (!status.WantsAcknowledge()) return {};
    status.Phase =
        status.Phase == AlarmPhase::Raised ? AlarmPhase::Acknowledged : AlarmPhase::Normal;
    AlarmEvent acknowledged = *status.LastRaise;
    acknowledged.Change = AlarmChange::Acknowledged;
    acknowledged.Time = time;
    return {acknowledged};
}

std::vector<AlarmEvent> AlarmEngine::AcknowledgeAll(const QDateTime& time) {
    std::vector<AlarmEvent> events;
    for (const AlarmId id : kAllAlarms) {
        for (const AlarmEvent& event : Acknowledge(id, time)) events.push_back(event);
    }
    return events;
}

const AlarmStatus& AlarmEngine::Status(AlarmId id) const {
    static const AlarmStatus kNoAlarm;
    const int index = AlarmIndex(id);
    return index < 0 ? kNoAlarm : m_tracks[index].status;
}

void AlarmEngine::Resume(const std::array<AlarmStatus, kAlarmCount>& statuses) {
    for (int index = 0; index < kAlarmCount; ++index) {
        Track& track = m_tracks[index];
        if (!m_settings.IsOn(kAllAlarms[index]) || track.status.Phase != AlarmPhase::Normal)
            continue;
        track.status = statuses[index];
    }
}

void AlarmEngine::WatchChannel(AlarmChannel channel, const std::optional<double>& value,
                               const AlarmReading& reading, std::vector<AlarmEvent>& events) {
    const ChannelAlarmSettings& settings = m_settings.Channel(channel);
    for (const AlarmKind kind : {AlarmKind::High, AlarmKind::Low}) {
        const AlarmId id{kind, channel};
        if (!m_settings.IsOn(id)) continue;
        if (!value) {
            // No value says nothing about the limit, and breaks a hold under way.
            TrackOf(id).beyondSince.reset();
            continue;
        }
        Step(id, LimitVerdict(kind, settings, *value, reading.Unit), settings.Hold, reading,
             events);
    }
    const AlarmId probe{AlarmKind::ProbeFault, channel};
    if (m_settings.IsOn(probe)) {
        Verdict verdict;
        verdict.beyond = !value;
        verdict.back = value.has_value();
        if (value) verdict.value = FromTenths(Tenths(*value));
        Step(probe, verdict, settings.Hold, reading, events);
    }
}

AlarmEngine::Verdict AlarmEngine::LimitVerdict(AlarmKind kind, const ChannelAlarmSettings& channel,
                                               double value, DisplayUnit unit) const {
    const DisplayUnit limitUnit = m_limitUnit.value_or(unit);
    const AlarmLimit& setting = kind == AlarmKind::High ? channel.High : channel.Low;
    const qint64 reading = Tenths(value);
    const qint64 limit = Tenths(ConvertDegrees(setting.Limit, limitUnit, unit));
    const qint64 hysteresis =
        std::max<qint64>(0, Tenths(ConvertDifference(channel.Hysteresis, limitUnit, unit)));
    Verdict verdict;
    if (kind == AlarmKind::High) {
        verdict.beyond = reading > limit;
        verdict.back = reading < limit - hysteresis;
    } else {
        verdict.beyond = reading < limit;
        verdict.back = reading > limit + hysteresis;
    }
    verdict.value = FromTenths(reading);
    verdict.limit = FromTenths(limit);
    return verdict;
}

void AlarmEngine::Step(AlarmId id, const Verdict& verdict, std::chrono::milliseconds hold,
                       const AlarmReading& reading, std::vector<AlarmEvent>& events) {
    Track& track = TrackOf(id);
    const AlarmEvent event{AlarmChange::Raised, id,          reading.Time, verdict.value,
                           verdict.limit,       reading.Unit};
    if (track.status.IsActive()) {
        if (verdict.back) Clear(track, event, events);
        return;
    }
    if (!verdict.beyond) {
        track.beyondSince.reset();
        return;
    }
    // A clock set back would otherwise hold the alarm off for as long as it went back.
    if (!track.beyondSince || reading.Time < *track.beyondSince) track.beyondSince = reading.Time;
    if (track.beyondSince->msecsTo(reading.Time) >= hold.count()) Raise(track, event, events);
}

void AlarmEngine::Raise(Track& track, AlarmEvent event, std::vector<AlarmEvent>& events) {
    event.Change = AlarmChange::Raised;
    track.status.Phase = AlarmPhase::Raised;
    track.status.LastRaise = event;
    track.beyondSince.reset();
    events.push_back(event);
}

void AlarmEngine::Clear(Track& track, AlarmEvent event, std::vector<AlarmEvent>& events) {
    event.Change = AlarmChange::Cleared;
    track.status.Phase =
        track.status.Phase == AlarmPhase::Acknowledged ? AlarmPhase::Normal : AlarmPhase::Cleared;
    track.status.LastClear = event;
    events.push_back(event);
}

AlarmEvent AlarmEngine::EventWithoutValue(AlarmId id, const QDateTime& time) const {
    return {
        AlarmChange::Raised, id, time, {}, {}, m_lastReadingUnit.value_or(DisplayUnit::Celsius)};
}

void AlarmEngine::RestartHolds() {
    for (Track& track : m_tracks) track.beyondSince.reset();
}

AlarmEngine::Track& AlarmEngine::TrackOf(AlarmId id) { return m_tracks[AlarmIndex(id)]; }

}  // namespace kr820::core
