// SPDX-License-Identifier: MIT
#include "emulator_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace kr820::emulator {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseTenthsC(std::string_view text, std::int16_t* tenthsC) {
    double degrees = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, degrees);
    if (failure != std::errc{} || stop != end || !std::isfinite(degrees)) return false;
    const double tenths = std::round(degrees * 10.0);
    if (tenths < std::numeric_limits<std::int16_t>::min() ||
        tenths > std::numeric_limits<std::int16_t>::max()) {
        return false;
    }
    *tenthsC = static_cast<std::int16_t>(tenths);
    return true;
}

bool ParseInteger(std::string_view text, int low, int high, int* value) {
    int parsed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, parsed);
    if (failure != std::errc{} || stop != end || parsed < low || parsed > high) return false;
    *value = parsed;
    return true;
}

bool ParseEscapedBytes(std::string_view text, std::string* bytes) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
        } else if (i + 1 < text.size() && text[i + 1] == '\\') {
            out.push_back('\\');
            ++i;
        } else if (i + 3 < text.size() && text[i + 1] == 'x' && HexDigit(text[i + 2]) >= 0 &&
                   HexDigit(text[i + 3]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3])));
            i += 3;
        } else {
            return false;
        }
    }
    *bytes = std::move(out);
    return true;
}

}  // namespace kr820::emulator
