// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

namespace kr820::core {

// Mean kinetic temperature: the gas constant and the activation energy usual for medicines.
inline constexpr double kGasConstantJPerMolK = 8.3144598;
inline constexpr double kDefaultActivationEnergyKjPerMol = 83.144;

// A lethality's reference temperature and z value, both in degrees Celsius.
struct LethalityParameters {
    double ReferenceCelsius = 121.1;
    double ZCelsius = 10.0;
    bool operator==(const LethalityParameters&) const = default;
};
inline constexpr LethalityParameters kF0Lethality{121.1, 10.0};
inline constexpr LethalityParameters kPasteurizationUnits{60.0, 7.0};

// A channel's limits, in the unit of the readings reported.
struct ReportLimits {
    std::optional<double> High;  // a reading strictly above it is past it
    std::optional<double> Low;   // a reading strictly below it is past it
    bool operator==(const ReportLimits&) const = default;
};

struct ReportSettings {
    double ActivationEnergyKjPerMol = kDefaultActivationEnergyKjPerMol;
    std::array<ReportLimits, 2> Limits;  // T1, T2
    std::optional<LethalityParameters> Lethality;
    // Only readings at or after FromMs and at or before ToMs (Unix milliseconds).
    std::optional<qint64> FromMs;
    std::optional<qint64> ToMs;
    std::array<bool, 2> Channels{true, true};  // which channels are reported
    // The pace the source was recorded at; 0 where it does not say (the first step is taken).
    qint64 IntervalMs = 0;
};

}  // namespace kr820::core
