// SPDX-License-Identifier: MIT
#include "core/realtime/real_time_sample.h"

#include "core/data/limit_values.h"

namespace kr820::core {
namespace {

constexpr quint16 kFahrenheitBit = 0x40;
constexpr quint8 kOutOfRangeBits = 0x03;
constexpr double kAverageLimit = 3000.0;

float ToDisplayUnit(float celsius, bool fahrenheit) {
    return fahrenheit ? celsius * 1.8f + 32.0f : celsius;
}

}  // namespace

float RealTimeSample::ChartT1() const { return T1OutOfRange ? OverLimitValue : T1; }
float RealTimeSample::ChartT2() const { return T2OutOfRange ? OverLimitValue : T2; }

RealTimeSample MakeRealTimeSample(quint16 statusWord, quint16 channelFlags, float t1Celsius,
                                  float t2Celsius) {
    const bool fahrenheit = (statusWord & kFahrenheitBit) != 0;
    RealTimeSample sample;
    sample.T1 = ToDisplayUnit(t1Celsius, fahrenheit);
    sample.T2 = ToDisplayUnit(t2Celsius, fahrenheit);
    sample.T1OutOfRange = (channelFlags & kOutOfRangeBits) != 0;
    sample.T2OutOfRange = ((channelFlags >> 8) & kOutOfRangeBits) != 0;
    sample.Unit = fahrenheit ? 'F' : 'C';
    return sample;
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
