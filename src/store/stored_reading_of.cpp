// SPDX-License-Identifier: MIT
#include "store/stored_reading_of.h"

namespace kr820::store {

StoredReading StoredReadingOf(const core::LiveReading& reading, qint64 timeMs) {
    const std::optional<double> t1 = reading.Shown(core::Channel::T1);
    const std::optional<double> t2 = reading.Shown(core::Channel::T2);
    StoredReading stored;
    stored.TimeMs = timeMs;
    stored.T1Valid = t1.has_value();
    stored.T2Valid = t2.has_value();
    stored.T1 = static_cast<float>(t1.value_or(0.0));
    stored.T2 = static_cast<float>(t2.value_or(0.0));
    stored.Fahrenheit = reading.DisplaysFahrenheit();
    return stored;
}

}  // namespace kr820::store
