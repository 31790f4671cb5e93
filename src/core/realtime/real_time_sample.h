// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <optional>
#include <span>
#include <vector>

#include "core/live/live_reading.h"

namespace kr820::core {

// One real-time point as the graph takes it: in the meter's display unit, and whether each
// channel was out of range.
struct RealTimeSample {
    float T1 = 0;
    float T2 = 0;
    bool T1OutOfRange = false;
    bool T2OutOfRange = false;
    // 'C' or 'F' as the meter displayed it; 0 where that is not known.
    char Unit = 0;
    // What the chart stores: the null value for a channel out of range.
    float ChartT1() const;
    float ChartT2() const;
};

// A live reading as the fixed-length recorder takes it: in the unit shown, out of range by the
// recorder's own rule (LiveReading::OutOfRangeForFixedLengthRecorder).
RealTimeSample RealTimeSampleOf(const LiveReading& reading);
// The same from the live status word, the channel-flag word and the readings in degrees Celsius.
RealTimeSample MakeRealTimeSample(quint16 statusWord, quint16 channelFlags, float t1Celsius,
                                  float t2Celsius);

// The running extremes of a recording; a start resets them to these values.
struct RealTimeExtremes {
    float T1Max = -9999.0f;
    float T2Max = -9999.0f;
    float T1Min = 9999.0f;
    float T2Min = 9999.0f;
};

enum class ExtremeField { T1Max, T1Min, T2Max, T2Min };

// Takes a sample into the extremes, checked in the order T1 maximum, T1 minimum, T2 maximum,
// T2 minimum; returns the fields that changed in that order. An out-of-range reading takes part
// with its value (the field then shows "OL").
std::vector<ExtremeField> UpdateExtremes(RealTimeExtremes& extremes, const RealTimeSample& sample);

// The mean of the values strictly between -3000 and 3000, or nothing when none is.
std::optional<double> AverageWithinLimits(std::span<const float> values);

}  // namespace kr820::core
