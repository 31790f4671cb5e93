// SPDX-License-Identifier: MIT
// Wire bytes written as hex in tests, so expectations read like a protocol trace.
#pragma once

#include <string>
#include <string_view>

namespace kr820::emulator::testing {

inline std::string FromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

inline std::string ToHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char byte : bytes) {
        hex.push_back(kDigits[static_cast<unsigned char>(byte) >> 4]);
        hex.push_back(kDigits[static_cast<unsigned char>(byte) & 0x0F]);
    }
    return hex;
}

}  // namespace kr820::emulator::testing
