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
    FollowScriptedExtremes(scripted_.t1, scripted.t1, &running1_);
    FollowScriptedExtremes(scripted_.t2, scripted.t2, &running2_);
    scripted_ = scripted;
    // The probe reads the new temperature at once, not at the next measurement.
    if (motion_.wave && lastMeasured_ >= 0) Measure(lastMeasured_);
}

void MeterModel::SetMotion(const Motion& motion) {
    if (motion.wave && !motion_.wave) {
        // The wave starts from the scripted extremes, as a meter whose MIN/MAX were reset then.
        running1_ = scripted_.t1;
        running2_ = scripted_.t2;
    }
    motion_ = motion;
    lastMeasured_ = now_ / kMeasureEvery;
    if (motion_.wave) Measure(lastMeasured_);
}

void MeterModel::AdvanceTo(milliseconds sinceSwitchOn) {
    if (sinceSwitchOn < now_) return;
    now_ = sinceSwitchOn;
    const std::int64_t due = now_ / kMeasureEvery;
    if (motion_.wave) {
        for (std::int64_t index = lastMeasured_ + 1; index <= due; ++index) Measure(index);
    }
    lastMeasured_ = due;
}

MeterState MeterModel::Reported() const {
    MeterState reported = scripted_;
    if (motion_.wave) {
        reported.t1.tenthsC = running1_.tenthsC;
        reported.t1.minTenthsC = running1_.minTenthsC;
        reported.t1.maxTenthsC = running1_.maxTenthsC;
        reported.t2.tenthsC = running2_.tenthsC;
        reported.t2.minTenthsC = running2_.minTenthsC;
        reported.t2.maxTenthsC = running2_.maxTenthsC;
    }
    if (T2OutOfRangeAt(now_)) {
        reported.t2.tenthsC = kOutOfRangeTenthsC;
        reported.t2.invalid = 1;
    }
    return reported;
}

void MeterModel::Measure(std::int64_t index) {
    const milliseconds at = index * kMeasureEvery;
    running1_.tenthsC = WaveAt(scripted_.t1.tenthsC, kT1WaveTenthsC, kT1WavePeriod, at, 0.0);
    running2_.tenthsC = WaveAt(scripted_.t2.tenthsC, kT2WaveTenthsC, kT2WavePeriod, at, 0.25);
    // A channel without a valid value leaves its MIN and MAX alone, as on the meter.
    if (scripted_.t1.invalid == 0) TakeIntoExtremes(&running1_);
    if (scripted_.t2.invalid == 0 && !T2OutOfRangeAt(at)) TakeIntoExtremes(&running2_);
}

bool MeterModel::T2OutOfRangeAt(milliseconds at) const {
    return motion_.t2OutOfRangeAfter && at >= *motion_.t2OutOfRangeAfter;
}

}  // namespace kr820::emulator
