// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>

namespace kr820::core {

// What an alarm watches: a channel beyond its high or low limit, a channel without a valid
// value (an open or broken probe, or beyond its thermocouple's range), or a meter that no
// longer answers.
enum class AlarmKind { High, Low, ProbeFault, MeterLost };
enum class AlarmChannel { None, T1, T2 };  // None: the meter lost alarm

struct AlarmId {
    AlarmKind Kind = AlarmKind::High;
    AlarmChannel Channel = AlarmChannel::T1;
    friend bool operator==(const AlarmId&, const AlarmId&) = default;
};

// The seven alarms, in the order banners and row columns list them.
inline constexpr int kAlarmCount = 7;
inline constexpr std::array<AlarmId, kAlarmCount> kAllAlarms = {{
    {AlarmKind::High, AlarmChannel::T1},
    {AlarmKind::Low, AlarmChannel::T1},
    {AlarmKind::ProbeFault, AlarmChannel::T1},
    {AlarmKind::High, AlarmChannel::T2},
    {AlarmKind::Low, AlarmChannel::T2},
    {AlarmKind::ProbeFault, AlarmChannel::T2},
    {AlarmKind::MeterLost, AlarmChannel::None},
}};

// The alarm's place in kAllAlarms; -1 for a pair that names no alarm (a limit without channel).
int AlarmIndex(AlarmId id);

// "high", "low", "probe", "lost".
QString AlarmKindName(AlarmKind kind);
// "T1", "T2", or empty for the meter lost alarm.
QString AlarmChannelName(AlarmChannel channel);
// "t1-high", "t2-probe", "lost": one word, for row columns and logs.
QString AlarmName(AlarmId id);

}  // namespace kr820::core
