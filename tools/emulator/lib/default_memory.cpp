// SPDX-License-Identifier: MIT
#include "default_memory.h"

#include <cmath>
#include <numbers>

namespace kr820::emulator {
namespace {

constexpr double kWavePeriodPairs = 24.0;
constexpr double kT1SwingTenthsC = 40.0;
constexpr double kT2SwingTenthsC = 25.0;
constexpr int kT2BelowT1TenthsC = 30;

}  // namespace

std::vector<SamplePair> WavePairs(std::size_t pairs, std::int16_t centreTenthsC) {
    std::vector<SamplePair> out(pairs);
    for (std::size_t i = 0; i < pairs; ++i) {
        const double phase = 2.0 * std::numbers::pi * static_cast<double>(i) / kWavePeriodPairs;
        out[i].t1TenthsC = static_cast<std::int16_t>(
            centreTenthsC + std::lround(kT1SwingTenthsC * std::sin(phase)));
        out[i].t2TenthsC = static_cast<std::int16_t>(
            centreTenthsC - kT2BelowT1TenthsC + std::lround(kT2SwingTenthsC * std::cos(phase)));
    }
    return out;
}

std::vector<DataSet> DefaultDataSets() {
    DataSet oven;  // every 5 s, type K, Celsius; T2's probe comes loose for one sample
    oven.start = {2024, 3, 14, 9, 30, 0};
    oven.rateCode = 2;
    oven.pairs = WavePairs(30, 650);
    oven.pairs[17].t2TenthsC = kOverRangeTenthsC;

    DataSet freezer;  // every minute, type J, Fahrenheit, below zero Celsius
    freezer.start = {2024, 3, 14, 13, 0, 0};
    freezer.rateCode = 6;
    freezer.type = Thermocouple::kJ;
    freezer.unit = TemperatureUnit::kFahrenheit;
    freezer.pairs = WavePairs(20, -182);

    DataSet room;  // every hour, type K, Fahrenheit
    room.start = {2024, 3, 15, 8, 0, 5};
    room.rateCode = 12;
    room.unit = TemperatureUnit::kFahrenheit;
    room.pairs = WavePairs(48, 215);
    return {oven, freezer, room};
}

}  // namespace kr820::emulator
