// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "logger_memory_builder.h"

namespace kr820::emulator {

// What the meter has recorded when nothing else is asked for: three short sets with different
// rates, thermocouple types and units, one of them with an open-probe sample, so that a
// demonstration download shows something worth looking at.
std::vector<DataSet> DefaultDataSets();

// A smooth, recognisable curve for `pairs` pairs around `centreTenthsC`: T1 a slow sine, T2
// the same a little lower and a quarter period behind.
std::vector<SamplePair> WavePairs(std::size_t pairs, std::int16_t centreTenthsC);

}  // namespace kr820::emulator
