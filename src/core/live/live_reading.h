// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

#include "core/live/temperature_units.h"

namespace kr820::core {

// The eight temperatures of a live frame, in the order the meter sends them.
enum class LiveValue : int { T1, T2, T1Rel, T2Rel, T1Min, T2Min, T1Max, T2Max };
inline constexpr int kLiveValueCount = 8;

enum class Channel { T1, T2 };

// Bits of the status word (status A high byte, status B low byte) that other parts of the
// program test.
inline constexpr quint16 kStatusMeterLogging = 0x0008;
inline constexpr quint16 kStatusFahrenheit = 0x0040;

// One live frame as the whole program reads it: the raw words as the meter sent them, and the
// answers every reader takes from here rather than from the words (whether a channel has a
// value, in which unit it is shown). The meter always reports degrees Celsius, whatever unit its
// own display shows.
struct LiveReading {
    // When the link cut the frame, in milliseconds since the epoch (0 until published).
    qint64 ReadAtMs = 0;
    quint16 Status = 0;  // status A << 8 | status B
    std::array<float, kLiveValueCount> Celsius{};
    // Channel flags: T2's invalid byte high, T1's low; non-zero means no valid value.
    quint16 Invalid = 0;

    float Value(LiveValue which) const { return Celsius[static_cast<int>(which)]; }
    quint8 StatusA() const { return static_cast<quint8>(Status >> 8); }
    quint8 StatusB() const { return static_cast<quint8>(Status & 0xFF); }
    // The meter is logging into its own memory (REC steady on its display).
    bool MeterLogging() const { return (Status & kStatusMeterLogging) != 0; }
    // The meter's display shows degrees F (the values here are Celsius all the same).
    bool DisplaysFahrenheit() const { return (Status & kStatusFahrenheit) != 0; }
    DisplayUnit Unit() const;
    quint8 T1InvalidFlags() const { return static_cast<quint8>(Invalid & 0xFF); }
    quint8 T2InvalidFlags() const { return static_cast<quint8>(Invalid >> 8); }
    quint8 InvalidFlags(Channel channel) const;

    // The channel's value in tenths of a degree Celsius, as the meter sent it; none where its
    // invalid byte is non-zero (the display shows dashes) or the value lies beyond any
    // thermocouple's range.
    std::optional<qint16> Tenths(Channel channel) const;
    // The same in degrees Celsius, and in the unit the display shows.
    std::optional<double> InCelsius(Channel channel) const;
    std::optional<double> Shown(Channel channel) const;

    // The fixed-length real-time recorder's own rule, older than the others and kept for its
    // saved graphs: only bits 0 and 1 of the invalid byte mark the channel out of range there.
    bool OutOfRangeForFixedLengthRecorder(Channel channel) const;
};

}  // namespace kr820::core
