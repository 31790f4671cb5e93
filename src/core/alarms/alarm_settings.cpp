// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_settings.h"

namespace kr820::core {

bool AlarmSettings::IsOn(AlarmId id) const {
    if (id.Kind == AlarmKind::MeterLost) return MeterLost;
    if (id.Channel == AlarmChannel::None) return false;
    const ChannelAlarmSettings& channel = Channel(id.Channel);
    switch (id.Kind) {
        case AlarmKind::High:
            return channel.High.On;
        case AlarmKind::Low:
            return channel.Low.On;
        case AlarmKind::ProbeFault:
            return channel.ProbeFault;
        case AlarmKind::MeterLost:
            break;
    }
    return false;
}

}  // namespace kr820::core
