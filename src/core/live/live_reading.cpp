// SPDX-License-Identifier: MIT
#include "core/live/live_reading.h"

#include <cmath>

#include "core/data/limit_values.h"

namespace kr820::core {
namespace {

constexpr quint8 kFixedLengthOutOfRangeBits = 0x03;

}  // namespace

DisplayUnit LiveReading::Unit() const {
    return DisplaysFahrenheit() ? DisplayUnit::Fahrenheit : DisplayUnit::Celsius;
}

quint8 LiveReading::InvalidFlags(Channel channel) const {
    return channel == Channel::T1 ? T1InvalidFlags() : T2InvalidFlags();
}

std::optional<qint16> LiveReading::Tenths(Channel channel) const {
    const float celsius = Value(channel == Channel::T1 ? LiveValue::T1 : LiveValue::T2);
    if (InvalidFlags(channel) != 0 || !std::isfinite(celsius) || IsShownAsOL(celsius))
        return std::nullopt;
    // The meter sends tenths: round away the float's noise.
    return static_cast<qint16>(std::lround(static_cast<double>(celsius) * 10.0));
}

std::optional<double> LiveReading::InCelsius(Channel channel) const {
    const std::optional<qint16> tenths = Tenths(channel);
    if (!tenths) return std::nullopt;
    return *tenths / 10.0;
}

std::optional<double> LiveReading::Shown(Channel channel) const {
    const std::optional<double> celsius = InCelsius(channel);
    if (!celsius) return std::nullopt;
    return InUnit(*celsius, Unit());
}

bool LiveReading::OutOfRangeForFixedLengthRecorder(Channel channel) const {
    return (InvalidFlags(channel) & kFixedLengthOutOfRangeBits) != 0;
}

}  // namespace kr820::core
