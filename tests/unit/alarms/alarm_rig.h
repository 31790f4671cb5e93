// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <chrono>
#include <optional>
#include <vector>

#include "core/alarms/alarm_engine.h"

namespace kr820::core {

// An engine fed one reading a second by a fake clock, with every event kept.
struct AlarmRig {
    static QDateTime Start() {
        return QDateTime(QDate(2026, 3, 1), QTime(12, 0), QTimeZone::utc());
    }

    AlarmEngine engine;
    QDateTime now = Start();
    std::chrono::milliseconds tick{1000};
    std::vector<AlarmEvent> events;

    explicit AlarmRig(const AlarmSettings& settings) : engine(settings) {}

    // Readings of T1 (T2 stays at 20), `tick` apart; returns the events they caused.
    std::vector<AlarmEvent> T1(std::initializer_list<std::optional<double>> values,
                               DisplayUnit unit = DisplayUnit::Celsius) {
        std::vector<AlarmEvent> caused;
        for (const auto& value : values) {
            Keep(engine.TakeReading({now, unit, value, 20.0}), caused);
            now = now.addMSecs(tick.count());
        }
        return caused;
    }
    std::vector<AlarmEvent> Lost() {
        std::vector<AlarmEvent> caused;
        Keep(engine.TakeLinkLost(now), caused);
        return caused;
    }
    AlarmPhase Phase(AlarmId id) const { return engine.Status(id).Phase; }

private:
    void Keep(const std::vector<AlarmEvent>& from, std::vector<AlarmEvent>& caused) {
        caused.insert(caused.end(), from.begin(), from.end());
        events.insert(events.end(), from.begin(), from.end());
    }
};

inline constexpr AlarmId kT1High{AlarmKind::High, AlarmChannel::T1};
inline constexpr AlarmId kT1Low{AlarmKind::Low, AlarmChannel::T1};
inline constexpr AlarmId kT1Probe{AlarmKind::ProbeFault, AlarmChannel::T1};
inline constexpr AlarmId kLost{AlarmKind::MeterLost, AlarmChannel::None};

inline AlarmSettings T1Limits(std::optional<double> high, std::optional<double> low = {}) {
    AlarmSettings settings;
    settings.LimitUnit = DisplayUnit::Celsius;
    if (high) settings.Channels[0].High = {true, *high};
    if (low) settings.Channels[0].Low = {true, *low};
    return settings;
}

}  // namespace kr820::core
