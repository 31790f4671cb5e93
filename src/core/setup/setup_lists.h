// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

namespace kr820::core {

// The choices of the setup dialog, in the order of the codes the meter stores.

// Print interval: code 1 to 12 is item code - 1.
inline constexpr std::array<std::string_view, 12> kPrintIntervals = {
    "00:00:02", "00:00:05", "00:00:10", "00:00:15", "00:00:30", "00:01:00",
    "00:02:00", "00:05:00", "00:10:00", "00:15:00", "00:30:00", "00:60:00"};
inline constexpr std::array<std::string_view, 9> kGraphInchesPerHour = {"1", "2", "3",  "4", "5",
                                                                        "6", "8", "12", "24"};
inline constexpr std::array<std::string_view, 8> kScaleWidths = {"10",  "20",  "50",   "100",
                                                                 "200", "500", "1000", "2000"};
inline constexpr std::array<std::string_view, 14> kRecordIntervals = {
    "00:00:01", "00:00:02", "00:00:05", "00:00:10", "00:00:15", "00:00:30", "00:01:00",
    "00:02:00", "00:05:00", "00:10:00", "00:15:00", "00:30:00", "01:00:00", "02:00:00"};
inline constexpr std::array<std::string_view, 2> kPrintModes = {"TEXT", "GRAPH"};
inline constexpr std::array<std::string_view, 2> kPowerChoices = {"30 MIN AUTO POWER OFF",
                                                                  "                     ALWAYS ON"};
inline constexpr std::array<std::string_view, 2> kAlarmChoices = {" ON", " OFF"};

}  // namespace kr820::core
