// SPDX-License-Identifier: MIT
// The meter's readings as time passes. The caller hands in the time, so tests can step through
// minutes of a wave without waiting for them.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "meter_state.h"

namespace kr820::emulator {

struct Motion {
    // T1 and T2 swing around their set readings (shapes below); MIN and MAX follow them.
    bool wave = false;
    // From this time on T2 reads far out of range and is flagged invalid, as with an open probe.
    std::optional<std::chrono::milliseconds> t2OutOfRangeAfter;

    bool operator==(const Motion&) const = default;
};

// The meter measures on its own schedule, whether polled or not, so MIN and MAX hold the
// extremes between two polls too.
inline constexpr std::chrono::milliseconds kMeasureEvery{500};
// T1: a minute-long sine; T2: a slower one, a quarter period ahead, so the curves never overlap.
inline constexpr std::int16_t kT1WaveTenthsC = 50;
inline constexpr std::chrono::seconds kT1WavePeriod{60};
inline constexpr std::int16_t kT2WaveTenthsC = 30;
inline constexpr std::chrono::seconds kT2WavePeriod{180};
// What an open input reads: the top of the field, far beyond any thermocouple.
inline constexpr std::int16_t kOutOfRangeTenthsC = 32767;

class MeterModel {
public:
    // The scripted state: readings are the centres of the wave, flags and REL references are
    // reported as they stand. A MIN or MAX that differs from the previous script restarts the
    // running extreme there, like the meter's MIN/MAX reset; otherwise the running one goes on.
    void SetScripted(const MeterState& scripted);
    const MeterState& Scripted() const { return m_scripted; }

    void SetMotion(const Motion& motion);
    const Motion& GetMotion() const { return m_motion; }

    // Takes every measurement due up to `sinceSwitchOn`; a time before the last one is ignored.
    void AdvanceTo(std::chrono::milliseconds sinceSwitchOn);

    // What a live frame carries now. Without motion this is exactly the scripted state.
    MeterState Reported() const;

private:
    void Measure(std::int64_t index);
    bool T2OutOfRangeAt(std::chrono::milliseconds at) const;

    MeterState m_scripted;
    Motion m_motion;
    std::chrono::milliseconds m_now{0};
    std::int64_t m_lastMeasured = -1;  // index of the last measurement taken, kMeasureEvery apart
    ChannelState m_running1 = m_scripted.t1;  // reading and running MIN/MAX under the wave
    ChannelState m_running2 = m_scripted.t2;
};

}  // namespace kr820::emulator
