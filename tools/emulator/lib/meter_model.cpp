// SPDX-License-Identifier: MIT
#include "meter_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace kr820::emulator {
namespace {

using std::chrono::milliseconds;

std::int16_t Saturate(long tenthsC) {
    return static_cast<std::int16_t>(std::clamp<long>(tenthsC,
                                                      std::numeric_limits<std::int16_t>::min(),
                                                      std::numeric_limits<std::int16_t>::max()));
}

std::int16_t WaveAt(std::int16_t centreTenthsC, std::int16_t amplitudeTenthsC, milliseconds period,
                    milliseconds at, double phaseTurns) {
    // Reduce first: a double keeps no fraction of a turn after weeks counted in milliseconds.
    const double turns =
        static_cast<double>(at.count() % period.count()) / static_cast<double>(period.count());
    const double swing = amplitudeTenthsC * std::sin(2.0 * std::numbers::pi * (turns + phaseTurns));
    return Saturate(centreTenthsC + std::lround(swing));
}

void TakeIntoExtremes(ChannelState* channel) {
    channel->minTenthsC = std::min(channel->minTenthsC, channel->tenthsC);
    channel->maxTenthsC = std::max(channel->maxTenthsC, channel->tenthsC);
}

void FollowScriptedExtremes(const ChannelState& before, const ChannelState& after,
                            ChannelState* running) {
    if (after.minTenthsC != before.minTenthsC) running->minTenthsC = after.minTenthsC;
    if (after.maxTenthsC != before.maxTenthsC) running->maxTenthsC = after.maxTenthsC;
}

}  // namespace

void MeterModel::SetScripted(const MeterState& scripted) {
    FollowScriptedExtremes(m_scripted.t1, scripted.t1, &m_running1);
    FollowScriptedExtremes(m_scripted.t2, scripted.t2, &m_running2);
    m_scripted = scripted;
    // The probe reads the new temperature at once, not at the next measurement.
    if (m_motion.wave && m_lastMeasured >= 0) Measure(m_lastMeasured);
}

void MeterModel::SetMotion(const Motion& motion) {
    if (motion.wave && !m_motion.wave) {
        // The wave starts from the scripted extremes, as a meter whose MIN/MAX were reset then.
        m_running1 = m_scripted.t1;
        m_running2 = m_scripted.t2;
    }
    m_motion = motion;
    m_lastMeasured = m_now / kMeasureEvery;
    if (m_motion.wave) Measure(m_lastMeasured);
}

void MeterModel::AdvanceTo(milliseconds sinceSwitchOn) {
    if (sinceSwitchOn < m_now) return;
    m_now = sinceSwitchOn;
    const std::int64_t due = m_now / kMeasureEvery;
    if (m_motion.wave) {
        for (std::int64_t index = m_lastMeasured + 1; index <= due; ++index) Measure(index);
    }
    m_lastMeasured = due;
}

MeterState MeterModel::Reported() const {
    MeterState reported = m_scripted;
    if (m_motion.wave) {
        reported.t1.tenthsC = m_running1.tenthsC;
        reported.t1.minTenthsC = m_running1.minTenthsC;
        reported.t1.maxTenthsC = m_running1.maxTenthsC;
        reported.t2.tenthsC = m_running2.tenthsC;
        reported.t2.minTenthsC = m_running2.minTenthsC;
        reported.t2.maxTenthsC = m_running2.maxTenthsC;
    }
    if (T2OutOfRangeAt(m_now)) {
        reported.t2.tenthsC = kOutOfRangeTenthsC;
        reported.t2.invalid = 1;
    }
    return reported;
}

void MeterModel::Measure(std::int64_t index) {
    const milliseconds at = index * kMeasureEvery;
    m_running1.tenthsC = WaveAt(m_scripted.t1.tenthsC, kT1WaveTenthsC, kT1WavePeriod, at, 0.0);
    m_running2.tenthsC = WaveAt(m_scripted.t2.tenthsC, kT2WaveTenthsC, kT2WavePeriod, at, 0.25);
    // A channel without a valid value leaves its MIN and MAX alone, as on the meter.
    if (m_scripted.t1.invalid == 0) TakeIntoExtremes(&m_running1);
    if (m_scripted.t2.invalid == 0 && !T2OutOfRangeAt(at)) TakeIntoExtremes(&m_running2);
}

bool MeterModel::T2OutOfRangeAt(milliseconds at) const {
    return m_motion.t2OutOfRangeAfter && at >= *m_motion.t2OutOfRangeAfter;
}

}  // namespace kr820::emulator
