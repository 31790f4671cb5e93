// SPDX-License-Identifier: MIT
#include "core/realtime/real_time_sample.h"

#include "core/data/limit_values.h"

namespace kr820::core {
namespace {

constexpr double kAverageLimit = 3000.0;

}  // namespace

float RealTimeSample::ChartT1() const { return T1OutOfRange ? OverLimitValue : T1; }
float RealTimeSample::ChartT2() const { return T2OutOfRange ? OverLimitValue : T2; }

RealTimeSample RealTimeSampleOf(const LiveReading& reading) {
    RealTimeSample sample;
    sample.T1 = InUnitAsRecorded(reading.Value(LiveValue::T1), reading.Unit());
    sample.T2 = InUnitAsRecorded(reading.Value(LiveValue::T2), reading.Unit());
    sample.T1OutOfRange = reading.OutOfRangeForFixedLengthRecorder(Channel::T1);
    sample.T2OutOfRange = reading.OutOfRangeForFixedLengthRecorder(Channel::T2);
    sample.Unit = reading.DisplaysFahrenheit() ? 'F' : 'C';
    return sample;
}

RealTimeSample MakeRealTimeSample(quint16 statusWord, quint16 channelFlags, float t1Celsius,
                                  float t2Celsius) {
    LiveReading reading;
    reading.Status = statusWord;
    reading.Invalid = channelFlags;
    reading.Celsius[static_cast<int>(LiveValue::T1)] = t1Celsius;
    reading.Celsius[static_cast<int>(LiveValue::T2)] = t2Celsius;
    return RealTimeSampleOf(reading);
}

std::vector<ExtremeField> UpdateExtremes(RealTimeExtremes& extremes, const RealTimeSample& sample) {
    std::vector<ExtremeField> changed;
    if (sample.T1 > extremes.T1Max) {
        extremes.T1Max = sample.T1;
        changed.push_back(ExtremeField::T1Max);
    }
    if (sample.T1 < extremes.T1Min) {
        extremes.T1Min = sample.T1;
        changed.push_back(ExtremeField::T1Min);
    }
    if (sample.T2 > extremes.T2Max) {
        extremes.T2Max = sample.T2;
        changed.push_back(ExtremeField::T2Max);
    }
    if (sample.T2 < extremes.T2Min) {
        extremes.T2Min = sample.T2;
        changed.push_back(ExtremeField::T2Min);
    }
    return changed;
}

std::optional<double> AverageWithinLimits(std::span<const float> values) {
    double sum = 0;
    long long count = 0;
    for (const float value : values) {
        if (value > -kAverageLimit && value < kAverageLimit) {
            sum += value;
            ++count;
        }
    }
    if (count == 0) return std::nullopt;
    return sum / static_cast<double>(count);
}

}  // namespace kr820::core
