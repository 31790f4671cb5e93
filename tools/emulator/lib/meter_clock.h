// SPDX-License-Identifier: MIT
// The meter's real-time clock, kept as the six BCD bytes it reports (yy mm dd hh nn ss) and
// running on with the meter's time, which the caller hands in.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kr820::emulator {

inline constexpr std::size_t kClockBcdBytes = 6;

class MeterClock {
public:
    // The computer's local time at the meter's time zero.
    MeterClock();

    // A valid date-time (years 2000 to 2099) runs on from `now`; anything else, such as a
    // month 13 or a nibble above 9, is held as it stands, the way a meter's clock with garbage
    // in it reports that garbage.
    void Set(std::string_view bcd, std::chrono::milliseconds now);
    std::string At(std::chrono::milliseconds now) const;
    bool IsRunning() const { return m_setTo.has_value(); }

private:
    std::string m_held;
    std::optional<std::chrono::sys_seconds> m_setTo;  // calendar arithmetic only, no time zone
    std::chrono::milliseconds m_setAt{0};
};

// The computer's local time now, as the meter's six bytes.
std::string LocalTimeBcd();

}  // namespace kr820::emulator
