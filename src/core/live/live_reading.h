// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <array>

namespace kr820::core {

// The eight temperatures of a live frame, in the order the meter sends them.
enum class LiveValue : int { T1, T2, T1Rel, T2Rel, T1Min, T2Min, T1Max, T2Max };
inline constexpr int kLiveValueCount = 8;

// Bits of the status word (status A high byte, status B low byte) that other parts of the
// program test.
inline constexpr quint16 kStatusMeterLogging = 0x0008;
inline constexpr quint16 kStatusFahrenheit = 0x0040;

// What the last live frame said, before any conversion for the display: the meter always
// reports degrees Celsius, whatever unit its own display shows.
struct LiveReading {
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
    quint8 T1InvalidFlags() const { return static_cast<quint8>(Invalid & 0xFF); }
    quint8 T2InvalidFlags() const { return static_cast<quint8>(Invalid >> 8); }
};

}  // namespace kr820::core
