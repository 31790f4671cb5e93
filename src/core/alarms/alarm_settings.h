// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <chrono>
#include <optional>

#include "core/alarms/alarm_id.h"
#include "core/live/display_digits.h"

namespace kr820::core {

struct AlarmLimit {
    bool On = false;
    double Limit = 0;  // degrees in AlarmSettings::LimitUnit, taken to the tenth
};

struct ChannelAlarmSettings {
    AlarmLimit High;  // raised strictly above Limit
    AlarmLimit Low;   // raised strictly below Limit
    bool ProbeFault = false;
    // Degrees (limit unit) a raised limit alarm must come back past before it clears: raised
    // above 85.0 with 0.5, it clears below 84.5 (84.5 itself keeps it raised).
    double Hysteresis = 0.5;
    // How long a channel must stay beyond a limit, or without a value, before the alarm is
    // raised; checked at each reading. Zero raises at the first such reading.
    std::chrono::milliseconds Hold{0};
};

// Everything off until switched on.
struct AlarmSettings {
    std::array<ChannelAlarmSettings, 2> Channels;  // T1, T2
    bool MeterLost = false;
    // The unit the limits and hysteresis were given in; none takes the unit of the first reading
    // (a command line's limits are meant in the unit the meter shows).
    std::optional<DisplayUnit> LimitUnit;

    ChannelAlarmSettings& Channel(AlarmChannel channel) {
        return Channels[channel == AlarmChannel::T2 ? 1 : 0];
    }
    const ChannelAlarmSettings& Channel(AlarmChannel channel) const {
        return Channels[channel == AlarmChannel::T2 ? 1 : 0];
    }
    // Whether the alarm is switched on.
    bool IsOn(AlarmId id) const;
};

}  // namespace kr820::core
