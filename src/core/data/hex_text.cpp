// SPDX-License-Identifier: MIT
#include "core/data/hex_text.h"

#include <algorithm>
#include <limits>

namespace kr820::core {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::uint32_t ReadHexText(QByteArrayView text, int maxWidth) {
    qsizetype i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    const qsizetype end =
        maxWidth < 0 ? text.size() : std::min<qsizetype>(text.size(), i + maxWidth);
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    for (int digit; i < end && (digit = HexDigit(text[i])) >= 0; ++i) {
        value = std::min(value * 16 + static_cast<std::uint64_t>(digit), kMax + 1);
    }
    if (value > kMax) return static_cast<std::uint32_t>(kMax);
    const auto result = static_cast<std::uint32_t>(value);
    return negative ? 0u - result : result;
}

}  // namespace kr820::core
