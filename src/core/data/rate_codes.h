// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

namespace kr820::core {

// The meter's recording intervals, in the order of its interval list: the rate code is the index.
struct RateCodeEntry {
    int seconds;
    const char* gridText;
};

inline constexpr std::array<RateCodeEntry, 14> kRateCodes = {{
    {1, "00:00:01"},
    {2, "00:00:02"},
    {5, "00:00:05"},
    {10, "00:00:10"},
    {15, "00:00:15"},
    {30, "00:00:30"},
    {60, "00:01:00"},
    {120, "00:02:00"},
    {300, "00:05:00"},
    {600, "00:10:00"},
    {900, "00:15:00"},
    {1800, "00:30:00"},
    {3600, "01:00:00"},
    {7200, "02:00:00"},
}};

// The meter never writes a code beyond the list; a damaged one is shown as "00:00:02", so its
// samples are spaced by the 2 seconds that text claims.
inline constexpr RateCodeEntry kUnknownRateCode = {2, "00:00:02"};

constexpr const RateCodeEntry& RateCodeFor(std::int32_t code) {
    return code >= 0 && code < static_cast<std::int32_t>(kRateCodes.size()) ? kRateCodes[code]
                                                                            : kUnknownRateCode;
}

constexpr int RateSeconds(std::int32_t code) { return RateCodeFor(code).seconds; }
constexpr const char* RateText(std::int32_t code) { return RateCodeFor(code).gridText; }

}  // namespace kr820::core
