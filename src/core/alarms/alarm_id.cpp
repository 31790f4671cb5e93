// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_id.h"

namespace kr820::core {

int AlarmIndex(AlarmId id) {
    for (int i = 0; i < kAlarmCount; ++i) {
        if (kAllAlarms[i] == id) return i;
    }
    return -1;
}

QString AlarmKindName(AlarmKind kind) {
    switch (kind) {
        case AlarmKind::High:
            return QStringLiteral("high");
        case AlarmKind::Low:
            return QStringLiteral("low");
        case AlarmKind::ProbeFault:
            return QStringLiteral("probe");
        case AlarmKind::MeterLost:
            return QStringLiteral("lost");
    }
    return {};
}

QString AlarmChannelName(AlarmChannel channel) {
    switch (channel) {
        case AlarmChannel::T1:
            return QStringLiteral("T1");
        case AlarmChannel::T2:
            return QStringLiteral("T2");
        case AlarmChannel::None:
            break;
    }
    return {};
}

QString AlarmName(AlarmId id) {
    if (id.Channel == AlarmChannel::None) return AlarmKindName(id.Kind);
    return AlarmChannelName(id.Channel).toLower() + u'-' + AlarmKindName(id.Kind);
}

}  // namespace kr820::core
