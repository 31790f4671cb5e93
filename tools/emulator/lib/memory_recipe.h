// SPDX-License-Identifier: MIT
// The text that --generate-memory and the console's "memory generate" take.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "logger_memory_builder.h"

namespace kr820::emulator {

// "empty" (nothing recorded), "default" (DefaultDataSets), or data sets separated by ';', each
// a list of KEY=VALUE separated by ',':
//   start=2024-03-14T09:30:00  BCD-recorded as given, so 2024-02-31T... is allowed
//   rate=N                     rate code 0..255
//   type=K|J   unit=C|F
//   pairs=N                    0..65535; default: enough for the values, else 10
//   values=V/V/...             T1, T2, T1, T2, ... in degrees C, "OL" over range, "UL" under
//                              range; repeated until every pair has its two values; without
//                              values the pairs follow a gentle wave
// e.g. "start=2024-05-01T08:00:00,rate=3,type=J,unit=F,values=21.5/19.0/OL/19.2"
bool ParseMemoryRecipe(std::string_view text, std::vector<DataSet>* sets, std::string* error);

}  // namespace kr820::emulator
